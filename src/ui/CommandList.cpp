#include "CommandList.h"

#include "ShortcutValue.h"

#include <QAbstractButton>

using ShortcutValue::fKey;

CommandList::CommandList(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("ActionList1"));
}

CommandList *CommandList::createActionList1(QObject *parent)
{
    auto *list = new CommandList(parent);
    list->add(QStringLiteral("ac_close"), QStringLiteral("退出系统"));
    list->add(QStringLiteral("ac_begin"), QStringLiteral("开始计时"), fKey(4));
    list->add(QStringLiteral("ac_suspend"), QStringLiteral("暂停计时"), fKey(5));
    list->add(QStringLiteral("ac_Continue"), QStringLiteral("继续计时"), fKey(6));
    list->add(QStringLiteral("ac_param"), QStringLiteral("参数设置"));
    list->add(QStringLiteral("ac_readparam"), QStringLiteral("读取参数值"));
    // The menu items of these two carry each other's key, and the menu is searched first.
    list->add(QStringLiteral("ac_full"), QStringLiteral("全屏显示"), fKey(7));
    list->add(QStringLiteral("ac_win"), QStringLiteral("窗口显示"), fKey(8));
    list->add(QStringLiteral("ac_hide"), QStringLiteral("隐藏显示"), fKey(9));
    list->add(QStringLiteral("ac_end"), QStringLiteral("强行终止"), fKey(10));
    list->add(QStringLiteral("ac_saveset"), QStringLiteral("保存设置"));
    return list;
}

QString CommandList::stateCommandName(StateCommand command)
{
    switch (command) {
    case StateCommand::Begin:
        return QStringLiteral("ac_begin");
    case StateCommand::Suspend:
        return QStringLiteral("ac_suspend");
    case StateCommand::Continue:
        return QStringLiteral("ac_Continue");
    case StateCommand::End:
        return QStringLiteral("ac_end");
    case StateCommand::Param:
        return QStringLiteral("ac_param");
    case StateCommand::Full:
        return QStringLiteral("ac_full");
    case StateCommand::Win:
        return QStringLiteral("ac_win");
    case StateCommand::Hide:
        return QStringLiteral("ac_hide");
    }
    return {};
}

Command *CommandList::add(const QString &name, const QString &caption, int shortcut)
{
    auto *command = new Command(name, caption, shortcut, this);
    m_commands.append(command);
    return command;
}

Command *CommandList::command(QStringView name) const
{
    for (Command *command : m_commands) {
        if (command->name() == name)
            return command;
    }
    return nullptr;
}

Command *CommandList::findByShortcut(int value) const
{
    if (value == 0)
        return nullptr;
    for (Command *command : m_commands) {
        if (command->shortcut() == value)
            return command;
    }
    return nullptr;
}

void CommandList::runGuarded(const std::function<void()> &run) const
{
    if (m_guard)
        m_guard(run);
    else
        run();
}

void CommandList::bindButton(QAbstractButton *button, Command *command)
{
    const auto follow = [button, command] {
        button->setText(command->caption());
        button->setEnabled(command->isEnabled());
    };
    follow();
    connect(command, &Command::changed, button, follow);
    connect(button, &QAbstractButton::clicked, command,
            [this, command] { runGuarded([command] { command->execute(); }); });
}
