#pragma once

#include "MenuItem.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QStringView>

class CommandList;
class QActionGroup;
class QMenu;

// The main window's right-click menu `PopupMenu1`, also shown by the tray icon.
//
// Wiring in the main window (after ActionList1):
//   PopupMenu1 = PopupMenu::createPopupMenu1(ActionList1, this);
//   in ac_fullExecute, after the display change: PopupMenu1->item(u"N2")->setChecked(true);
// The QMenu is menu(); choosing an item clicks it inside the command list's guard.
// Access keys are added each time the menu is about to show when the system locale
// is Chinese, Japanese or Korean (setAccessKeysEnabled overrides that).
class PopupMenu : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PopupMenu)

public:
    PopupMenu(CommandList *commands, QWidget *parentWidget);
    ~PopupMenu() override;

    // The twelve items N1 ... N8 bound to ActionList1's commands.
    static PopupMenu *createPopupMenu1(CommandList *commands, QWidget *parentWidget);

    MenuItem *addItem(const QString &name, Command *command, const MenuItem::Options &options);
    MenuItem *addSeparator(const QString &name);

    MenuItem *item(QStringView name) const;
    const QList<MenuItem *> &items() const { return m_items; }
    // First item in menu order whose key is value.
    MenuItem *findByKey(int value) const;

    QMenu *menu() const { return m_menu.get(); }
    CommandList *commands() const { return m_commands; }
    void popup(const QPoint &globalPosition);

    bool accessKeysEnabled() const { return m_accessKeysEnabled; }
    void setAccessKeysEnabled(bool enabled) { m_accessKeysEnabled = enabled; }
    // What happens each time the menu is about to show.
    void addAccessKeys();

    // For MenuItem: unchecks the other radio items of item's group.
    void clearRadioGroup(const MenuItem *item);

private:
    CommandList *const m_commands;
    std::unique_ptr<QMenu> m_menu;
    QActionGroup *const m_radioGroup;
    QList<MenuItem *> m_items;
    bool m_accessKeysEnabled;
};
