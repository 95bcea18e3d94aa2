// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupMenu.h"

#include "AccessKeys.h"
#include "CommandList.h"
#include "ShortcutValue.h"

#include <QActionGroup>
#include <QMenu>

using ShortcutValue::fKey;

using Options = MenuItem::Options;

PopupMenu::PopupMenu(CommandList *commands, QWidget *parentWidget)
    : QObject(parentWidget)
    , m_commands(commands)
    , m_menu(std::make_unique<QMenu>(parentWidget))
    , m_radioGroup(new QActionGroup(m_menu.get()))
    , N1(addItem(QStringLiteral("N1"), commands->ac_param, Options{.ownKey = fKey(11)}))
    , N9(addSeparator(QStringLiteral("N9")))
    , N3(addItem(QStringLiteral("N3"), commands->ac_begin, Options{}))
    , N4(addItem(QStringLiteral("N4"), commands->ac_suspend, Options{}))
    , N5(addItem(QStringLiteral("N5"), commands->ac_Continue, Options{}))
    , N6(addItem(QStringLiteral("N6"), commands->ac_end, Options{.ownKey = fKey(7)}))
    , N10(addSeparator(QStringLiteral("N10")))
    , N11(addItem(QStringLiteral("N11"), commands->ac_win,
                  Options{.autoCheck = true, .radio = true, .checked = true}))
    , N12(addItem(QStringLiteral("N12"), commands->ac_hide,
                  Options{.autoCheck = true, .radio = true}))
    , N2(addItem(QStringLiteral("N2"), commands->ac_full,
                 Options{.ownKey = fKey(10), .autoCheck = true, .radio = true}))
    , N7(addSeparator(QStringLiteral("N7")))
    , N8(addItem(QStringLiteral("N8"), commands->ac_close, Options{.ownKey = fKey(12)}))
    , m_accessKeysEnabled(AccessKeys::localeUsesDoubleByteScript(QLocale::system()))
{
    setObjectName(QStringLiteral("PopupMenu1"));
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    // Optional exclusion lets a checked radio item be unchecked; the marks are ours anyway.
    m_radioGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &PopupMenu::addAccessKeys);
}

namespace {

// The tray icon's copy of a menu has an item for each action, which Qt deletes when the action
// is removed from the menu, and not when the menu goes with the actions it owns.
void removeActions(QMenu *menu)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (QMenu *submenu = action->menu())
            removeActions(submenu);
        menu->removeAction(action);
    }
}

} // namespace

// The QMenu belongs to the widget it pops up over; it goes with this object.
PopupMenu::~PopupMenu()
{
    removeActions(m_menu.get());
}

MenuItem *PopupMenu::addItem(const QString &name, Command *command,
                             const MenuItem::Options &options)
{
    auto *action = m_menu->addAction(QString());
    action->setObjectName(name);
    if (options.radio)
        m_radioGroup->addAction(action);
    auto *item = new MenuItem(this, name, QString(), command, options, action);
    m_items.append(item);
    connect(action, &QAction::triggered, item,
            [this, item] { m_commands->runGuarded([item] { item->click(); }); });
    return item;
}

MenuItem *PopupMenu::addSeparator(const QString &name)
{
    auto *action = m_menu->addSeparator();
    action->setObjectName(name);
    auto *item = new MenuItem(this, name, AccessKeys::separatorCaption, nullptr, {}, action);
    m_items.append(item);
    return item;
}

MenuItem *PopupMenu::findByKey(int value) const
{
    if (value == 0)
        return nullptr;
    for (MenuItem *item : m_items) {
        if (!item->isSeparator() && item->key() == value)
            return item;
    }
    return nullptr;
}

void PopupMenu::popup(const QPoint &globalPosition)
{
    m_menu->popup(globalPosition);
}

void PopupMenu::addAccessKeys()
{
    if (!m_accessKeysEnabled)
        return;
    QStringList captions;
    captions.reserve(m_items.size());
    for (const MenuItem *item : std::as_const(m_items))
        captions.append(item->caption());
    const QStringList withKeys = AccessKeys::added(captions);
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (withKeys.at(i) != captions.at(i))
            m_items.at(i)->setCaption(withKeys.at(i));
    }
}

void PopupMenu::clearRadioGroup(const MenuItem *item)
{
    for (MenuItem *other : std::as_const(m_items)) {
        if (other != item && other->isRadio() && other->groupIndex() == item->groupIndex() &&
            other->isChecked())
            other->setChecked(false);
    }
}
