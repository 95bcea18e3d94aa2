// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuickStartMenu.h"

#include "QuickStarts.h"

#include <QMenu>

QuickStartMenu::QuickStartMenu(QMenu *popup, Source source, QObject *parent)
    : QObject(parent)
    , m_menu(new QMenu(title(), popup))
    , m_source(std::move(source))
{
    m_menu->setObjectName(QStringLiteral("QuickStartMenu"));
    QAction *first = popup->actions().value(0);
    QAction *entry = popup->insertMenu(first, m_menu);
    entry->setObjectName(QStringLiteral("QuickStart"));
    popup->insertSeparator(first);
    // Before the popup shows, so that a tray host that exports the menu sees the entries.
    connect(popup, &QMenu::aboutToShow, this, &QuickStartMenu::refresh);
    refresh();
}

QuickStartMenu::~QuickStartMenu() = default;

void QuickStartMenu::refresh()
{
    m_menu->clear();
    m_presets = QuickStarts::presetSeconds(m_source.presets());
    m_recent = QuickStarts::recentFromText(m_source.recent());
    for (std::int32_t seconds : std::as_const(m_presets))
        addEntry(seconds);
    if (!m_presets.isEmpty() && !m_recent.isEmpty())
        m_menu->addSeparator();
    for (std::int32_t seconds : std::as_const(m_recent))
        addEntry(seconds);
    m_menu->menuAction()->setEnabled(m_source.canStart() && !m_menu->isEmpty());
}

void QuickStartMenu::addEntry(std::int32_t seconds)
{
    QAction *action = m_menu->addAction(QuickStarts::caption(seconds));
    connect(action, &QAction::triggered, this, [this, seconds] { emit chosen(seconds); });
}

QString QuickStartMenu::title()
{
    return tr("快速开始");
}
