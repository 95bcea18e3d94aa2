#pragma once

#include "Command.h"
#include "CommandStates.h"

#include <QList>
#include <QObject>
#include <QStringView>

#include <functional>

class QAbstractButton;

// The main window's command list `ActionList1`.
//
// Wiring in the main window:
//   ActionList1 = CommandList::createActionList1(this);
//   ActionList1->setGuard([this](const std::function<void()> &run) { <error guard>(run); });
//   ActionList1->command(u"ac_begin")->setHandler([this] { ac_beginExecute(); });  // and so on
//   ActionList1->bindButton(RzBitBtn1, ActionList1->command(u"ac_saveset"));
//   ActionList1->bindButton(RzBitBtn2, ActionList1->command(u"ac_begin"));
// Every entry point (button, menu item, key, tray) runs its command through the guard.
class CommandList : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandList)

public:
    using Guard = std::function<void(const std::function<void()> &)>;

    explicit CommandList(QObject *parent = nullptr);

    // The eleven commands in list order, enabled, without handlers.
    static CommandList *createActionList1(QObject *parent);
    // Name of the command that carries a state-dependent flag.
    static QString stateCommandName(StateCommand command);

    Command *add(const QString &name, const QString &caption, int shortcut = 0);
    Command *command(QStringView name) const;
    Command *command(StateCommand command) const
    {
        return this->command(stateCommandName(command));
    }
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
    QList<Command *> m_commands;
    Guard m_guard;
};
