// SPDX-License-Identifier: GPL-3.0-or-later
#include "Command.h"

Command::Command(const QString &name, const QString &caption, int shortcut, QObject *parent)
    : QObject(parent)
    , m_caption(caption)
    , m_shortcut(shortcut)
{
    setObjectName(name);
}

void Command::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit changed();
}

void Command::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit changed();
}

bool Command::execute()
{
    if (!m_enabled)
        return false;
    if (m_handler)
        m_handler();
    return true;
}
