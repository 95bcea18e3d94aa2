// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class Command;
class PopupMenu;
class QAction;

// An item of a PopupMenu, shown through a QAction of the menu's QMenu.
// Bound to a command it takes the command's caption and enabled flag, and the
// command's key when it has none of its own. Keys are shown as text after a tab,
// never registered with Qt, so that only the key dispatcher acts on them.
class MenuItem : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuItem)

public:
    struct Options
    {
        int ownKey = 0;
        bool autoCheck = false;
        bool radio = false;
        bool checked = false;
        int groupIndex = 0;
    };

    // Items are made by PopupMenu::addItem and addSeparator.
    MenuItem(PopupMenu *menu, const QString &name, const QString &caption, Command *command,
             const Options &options, QAction *action);

    bool isSeparator() const;
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Command *command() const { return m_command; }
    int ownKey() const { return m_options.ownKey; }
    // The item's own key, else its command's.
    int key() const;
    bool isEnabled() const;
    bool autoCheck() const { return m_options.autoCheck; }
    bool isRadio() const { return m_options.radio; }
    int groupIndex() const { return m_options.groupIndex; }
    bool isChecked() const { return m_checked; }
    // Checking a radio item clears the other radio items of its group.
    void setChecked(bool checked);
    QAction *action() const { return m_action; }

    // Disabled: nothing. Otherwise invert the check when auto-check is on, then
    // execute the command. Errors from the command pass through.
    void click();

    // Brings the QAction in line with the item.
    void updateAction();

private:
    void setCheckedOnly(bool checked);

    PopupMenu *const m_menu;
    Command *const m_command;
    QAction *const m_action;
    QString m_caption;
    // The command's caption as last taken, without an added access key.
    QString m_commandCaption;
    const Options m_options;
    bool m_checked;
};
