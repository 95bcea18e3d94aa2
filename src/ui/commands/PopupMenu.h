// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MenuItem.h"

#include <QList>
#include <QObject>
#include <QPoint>

class CommandList;
class QActionGroup;
class QMenu;

// The main window's right-click menu `PopupMenu1`, also shown by the tray icon.
//
// Wiring in the main window (after ActionList1):
//   PopupMenu1 = PopupMenu::createPopupMenu1(ActionList1, this);
//   in ac_fullExecute, after the display change: PopupMenu1->N2->setChecked(true);
// The QMenu is menu(); choosing an item clicks it inside the command list's guard.
// Access keys are added each time the menu is about to show when the system locale
// is Chinese, Japanese or Korean (setAccessKeysEnabled overrides that).
class PopupMenu : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PopupMenu)

public:
    // The twelve items N1 ... N8 bound to ActionList1's commands, in menu order.
    PopupMenu(CommandList *commands, QWidget *parentWidget);
    ~PopupMenu() override;
    static PopupMenu *createPopupMenu1(CommandList *commands, QWidget *parentWidget)
    {
        return new PopupMenu(commands, parentWidget);
    }

private:
    // Made before the items below, which are added to them.
    CommandList *const m_commands;
    std::unique_ptr<QMenu> m_menu;
    QActionGroup *const m_radioGroup;
    QList<MenuItem *> m_items;

public:
    MenuItem *const N1;  // 参数设置, F11
    MenuItem *const N9;  // separator
    MenuItem *const N3;  // 开始计时
    MenuItem *const N4;  // 暂停计时
    MenuItem *const N5;  // 继续计时
    MenuItem *const N6;  // 强行终止, F7
    MenuItem *const N10; // separator
    MenuItem *const N11; // 窗口显示, radio, checked at first
    MenuItem *const N12; // 隐藏显示, radio
    MenuItem *const N2;  // 全屏显示, F10, radio
    MenuItem *const N7;  // separator
    MenuItem *const N8;  // 退出系统, F12

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
    MenuItem *addItem(const QString &name, Command *command, const MenuItem::Options &options);
    MenuItem *addSeparator(const QString &name);

    bool m_accessKeysEnabled;
};
