// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Command.h"
#include "CommandStates.h"

#include <QList>
#include <QObject>

#include <array>
#include <functional>

class QAbstractButton;

// The main window's command list `ActionList1`.
//
// Wiring in the main window:
//   ActionList1 = CommandList::createActionList1(this);
//   ActionList1->ac_begin->setHandler([this] { ac_beginExecute(); });  // and so on
//   ActionList1->bindButton(RzBitBtn1, ActionList1->ac_saveset);
//   ActionList1->bindButton(RzBitBtn2, ActionList1->ac_begin);
// Every entry point (button, menu item, key, tray) runs its command through the guard
// (setGuard; without one errors pass through).
class CommandList : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandList)

public:
    using Guard = std::function<void(const std::function<void()> &)>;

    // The eleven commands in list order, enabled, without handlers.
    explicit CommandList(QObject *parent = nullptr);
    static CommandList *createActionList1(QObject *parent) { return new CommandList(parent); }

private:
    QList<Command *> m_commands; // filled while the members below are made

public:
    Command *const ac_close;
    Command *const ac_begin;
    Command *const ac_suspend;
    Command *const ac_Continue;
    Command *const ac_param;
    Command *const ac_readparam;
    Command *const ac_full;
    Command *const ac_win;
    Command *const ac_hide;
    Command *const ac_end;
    Command *const ac_saveset;

    // The command that carries a state-dependent flag.
    Command *command(StateCommand command) const { return m_stateCommands[std::size_t(command)]; }
    const QList<Command *> &commands() const { return m_commands; }
    // First command in list order whose own key is value.
    Command *findByShortcut(int value) const;

    // Runs what an event handler does inside the window's error guard. Without a
    // guard errors pass through.
    void setGuard(Guard guard) { m_guard = std::move(guard); }
    void runGuarded(const std::function<void()> &run) const;

    // The button takes the command's caption and enabled flag and runs it when clicked.
    void bindButton(QAbstractButton *button, Command *command);

private:
    Command *add(const QString &name, const QString &caption, int shortcut = 0);

    // In the order of StateCommand.
    const std::array<Command *, stateCommandCount> m_stateCommands;
    Guard m_guard;
};
