#include "PopupMenu.h"

#include "AccessKeys.h"
#include "CommandList.h"
#include "ShortcutValue.h"

#include <QActionGroup>
#include <QMenu>

using ShortcutValue::fKey;

PopupMenu::PopupMenu(CommandList *commands, QWidget *parentWidget)
    : QObject(parentWidget)
    , m_commands(commands)
    , m_menu(std::make_unique<QMenu>(parentWidget))
    , m_radioGroup(new QActionGroup(m_menu.get()))
    , m_accessKeysEnabled(AccessKeys::localeUsesDoubleByteScript(QLocale::system()))
{
    setObjectName(QStringLiteral("PopupMenu1"));
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    // Optional exclusion lets a checked radio item be unchecked; the marks are ours anyway.
    m_radioGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &PopupMenu::addAccessKeys);
}

// The QMenu belongs to the widget it pops up over; it goes with this object.
PopupMenu::~PopupMenu() = default;

PopupMenu *PopupMenu::createPopupMenu1(CommandList *commands, QWidget *parentWidget)
{
    auto *menu = new PopupMenu(commands, parentWidget);
    const auto command = [commands](const char16_t *name) {
        return commands->command(name);
    };
    using Options = MenuItem::Options;
    menu->addItem(QStringLiteral("N1"), command(u"ac_param"), Options{.ownKey = fKey(11)});
    menu->addSeparator(QStringLiteral("N9"));
    menu->addItem(QStringLiteral("N3"), command(u"ac_begin"), Options{});
    menu->addItem(QStringLiteral("N4"), command(u"ac_suspend"), Options{});
    menu->addItem(QStringLiteral("N5"), command(u"ac_Continue"), Options{});
    menu->addItem(QStringLiteral("N6"), command(u"ac_end"), Options{.ownKey = fKey(7)});
    menu->addSeparator(QStringLiteral("N10"));
    menu->addItem(QStringLiteral("N11"), command(u"ac_win"),
                  Options{.autoCheck = true, .radio = true, .checked = true});
    menu->addItem(QStringLiteral("N12"), command(u"ac_hide"),
                  Options{.autoCheck = true, .radio = true});
    menu->addItem(QStringLiteral("N2"), command(u"ac_full"),
                  Options{.ownKey = fKey(10), .autoCheck = true, .radio = true});
    menu->addSeparator(QStringLiteral("N7"));
    menu->addItem(QStringLiteral("N8"), command(u"ac_close"), Options{.ownKey = fKey(12)});
    return menu;
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

MenuItem *PopupMenu::item(QStringView name) const
{
    for (MenuItem *item : m_items) {
        if (item->objectName() == name)
            return item;
    }
    return nullptr;
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
