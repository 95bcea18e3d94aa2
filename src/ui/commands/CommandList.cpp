// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandList.h"

#include "ShortcutValue.h"

#include <QAbstractButton>

using ShortcutValue::fKey;

// The menu items of ac_full and ac_end carry each other's key, and the menu is searched first.
CommandList::CommandList(QObject *parent)
    : QObject(parent)
    , ac_close(add(QStringLiteral("ac_close"), tr("退出系统")))
    , ac_begin(add(QStringLiteral("ac_begin"), tr("开始计时"), fKey(4)))
    , ac_suspend(add(QStringLiteral("ac_suspend"), tr("暂停计时"), fKey(5)))
    , ac_Continue(add(QStringLiteral("ac_Continue"), tr("继续计时"), fKey(6)))
    , ac_param(add(QStringLiteral("ac_param"), tr("参数设置")))
    , ac_readparam(add(QStringLiteral("ac_readparam"), tr("读取参数值")))
    , ac_full(add(QStringLiteral("ac_full"), tr("全屏显示"), fKey(7)))
    , ac_win(add(QStringLiteral("ac_win"), tr("窗口显示"), fKey(8)))
    , ac_hide(add(QStringLiteral("ac_hide"), tr("隐藏显示"), fKey(9)))
    , ac_end(add(QStringLiteral("ac_end"), tr("强行终止"), fKey(10)))
    , ac_saveset(add(QStringLiteral("ac_saveset"), tr("保存设置")))
    , m_stateCommands{ac_begin, ac_suspend, ac_Continue, ac_end, ac_param, ac_full, ac_win, ac_hide}
{
    setObjectName(QStringLiteral("ActionList1"));
}

Command *CommandList::add(const QString &name, const QString &caption, int shortcut)
{
    auto *command = new Command(name, caption, shortcut, this);
    m_commands.append(command);
    return command;
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
