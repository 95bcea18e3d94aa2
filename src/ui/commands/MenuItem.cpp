// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuItem.h"

#include "AccessKeys.h"
#include "Command.h"
#include "PopupMenu.h"
#include "ShortcutValue.h"

#include <QAction>

MenuItem::MenuItem(PopupMenu *menu, const QString &name, const QString &caption, Command *command,
                   const Options &options, QAction *action)
    : QObject(menu)
    , m_menu(menu)
    , m_command(command)
    , m_action(action)
    , m_caption(caption)
    , m_options(options)
    , m_checked(options.checked)
{
    setObjectName(name);
    if (m_command) {
        m_caption = m_command->caption();
        m_commandCaption = m_caption;
        connect(m_command, &Command::changed, this, [this] {
            // Only a new caption replaces ours; an enabled change keeps the access key
            // added to it, which stays for the life of the menu.
            if (m_command->caption() != m_commandCaption) {
                m_commandCaption = m_command->caption();
                m_caption = m_commandCaption;
            }
            updateAction();
        });
    }
    updateAction();
}

bool MenuItem::isSeparator() const
{
    return m_caption == AccessKeys::separatorCaption;
}

void MenuItem::setCaption(const QString &caption)
{
    m_caption = caption;
    updateAction();
}

int MenuItem::key() const
{
    if (m_options.ownKey != 0)
        return m_options.ownKey;
    return m_command ? m_command->shortcut() : 0;
}

bool MenuItem::isEnabled() const
{
    return m_command ? m_command->isEnabled() : true;
}

void MenuItem::setChecked(bool checked)
{
    if (checked && m_options.radio)
        m_menu->clearRadioGroup(this);
    setCheckedOnly(checked);
}

void MenuItem::setCheckedOnly(bool checked)
{
    m_checked = checked;
    updateAction();
}

void MenuItem::click()
{
    if (!isEnabled())
        return;
    if (m_options.autoCheck)
        setChecked(!m_checked);
    if (m_command)
        m_command->execute();
}

void MenuItem::updateAction()
{
    if (isSeparator()) {
        m_action->setSeparator(true);
        return;
    }
    QString text = m_caption;
    const QString keyText = ShortcutValue::text(key());
    if (!keyText.isEmpty())
        text += QLatin1Char('\t') + keyText; // drawn right-aligned by QMenu
    m_action->setText(text);
    m_action->setEnabled(isEnabled());
    m_action->setCheckable(m_options.autoCheck || m_options.radio || m_checked);
    m_action->setChecked(m_checked);
}
