// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessKeys.h"
#include "CommandList.h"
#include "CommandStates.h"
#include "ContextMenuHook.h"
#include "KeyDispatcher.h"
#include "PopupMenu.h"
#include "ShortcutValue.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

// The menu item whose name a data row gives.
MenuItem *itemNamed(const PopupMenu *menu, const QString &name)
{
    for (MenuItem *item : menu->items()) {
        if (item->objectName() == name)
            return item;
    }
    return nullptr;
}

// The window's side of the command states, driving ActionList1's flags.
class FlagSink : public CommandStateSink
{
public:
    explicit FlagSink(CommandList *list)
        : m_list(list)
    {}
    void setCommandEnabled(StateCommand command, bool enabled) override
    {
        m_list->command(command)->setEnabled(enabled);
    }
    void startCountdownTimer() override {}
    void resumeCountdownTimer() override {}
    void stopCountdownTimer() override {}

private:
    CommandList *m_list;
};

// ActionList1 and PopupMenu1 on a small window, every handler logging its name.
class Fixture
{
public:
    Fixture()
        : list(CommandList::createActionList1(&window))
        , menu(PopupMenu::createPopupMenu1(list, &window))
        , keys(new KeyDispatcher(menu, list, &window))
    {
        for (Command *command : list->commands())
            command->setHandler([this, command] { log.append(command->name()); });
        // Like the window's full-screen handler, which sets its own mark.
        list->ac_full->setHandler([this] {
            log.append(QStringLiteral("ac_full"));
            menu->N2->setChecked(true);
        });
        FlagSink sink(list);
        CommandStates::create(sink);
    }

    void setState(CountdownState state)
    {
        FlagSink sink(list);
        CommandStates::applyFlags(sink, state);
    }

    QWidget window;
    CommandList *const list;
    PopupMenu *const menu;
    KeyDispatcher *const keys;
    QStringList log;
};

QStringList checkedItems(const PopupMenu *menu)
{
    QStringList names;
    for (const MenuItem *item : menu->items()) {
        if (item->isChecked())
            names.append(item->objectName());
        if (item->action()->isChecked() != item->isChecked())
            names.append(item->objectName() + QStringLiteral(" (action differs)"));
    }
    return names;
}

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

private slots:
    void actionList1();
    void executeRunsOnlyEnabledCommands();
    void buttonFollowsCommand();
    void popupMenu1();
    void keyTable_data();
    void keyTable();
    void checkMarks_data();
    void checkMarks();
    void accessKeys_data();
    void accessKeys();
    void keysReachTheWindow();
    void failingHandlerStillUsesKey();
    void contextMenu();
};

void tst_Commands::actionList1()
{
    Fixture f;
    QStringList rows;
    for (const Command *command : f.list->commands())
        rows.append(command->name() + QLatin1Char(' ') + command->caption() + QLatin1Char(' ') +
                    ShortcutValue::text(command->shortcut()));
    const QStringList expected = {
        QStringLiteral("ac_close 退出系统 "),     QStringLiteral("ac_begin 开始计时 F4"),
        QStringLiteral("ac_suspend 暂停计时 F5"), QStringLiteral("ac_Continue 继续计时 F6"),
        QStringLiteral("ac_param 参数设置 "),     QStringLiteral("ac_readparam 读取参数值 "),
        QStringLiteral("ac_full 全屏显示 F7"),    QStringLiteral("ac_win 窗口显示 F8"),
        QStringLiteral("ac_hide 隐藏显示 F9"),    QStringLiteral("ac_end 强行终止 F10"),
        QStringLiteral("ac_saveset 保存设置 "),
    };
    QCOMPARE(rows, expected);
    QCOMPARE(f.list->command(StateCommand::Continue)->name(), QStringLiteral("ac_Continue"));
}

void tst_Commands::executeRunsOnlyEnabledCommands()
{
    Command command(QStringLiteral("ac_x"), QStringLiteral("x"), 0);
    int runs = 0;
    command.setHandler([&runs] { ++runs; });
    QVERIFY(command.execute());
    command.setEnabled(false);
    QVERIFY(!command.execute());
    QCOMPARE(runs, 1);

    // Errors pass through execute to the caller's guard.
    command.setEnabled(true);
    command.setHandler([] { throw std::runtime_error("device"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, command.execute());
}

void tst_Commands::buttonFollowsCommand()
{
    Fixture f;
    QPushButton RzBitBtn2(&f.window);
    int guardRuns = 0;
    f.list->setGuard([&guardRuns](const std::function<void()> &run) {
        ++guardRuns;
        run();
    });
    f.list->bindButton(&RzBitBtn2, f.list->ac_begin);
    QCOMPARE(RzBitBtn2.text(), QStringLiteral("开始计时"));
    QVERIFY(RzBitBtn2.isEnabled());

    RzBitBtn2.click();
    QCOMPARE(f.log, QStringList{QStringLiteral("ac_begin")});
    QCOMPARE(guardRuns, 1);

    f.setState(CountdownState::Running);
    QVERIFY(!RzBitBtn2.isEnabled());
    f.list->ac_begin->setCaption(QStringLiteral("开始"));
    QCOMPARE(RzBitBtn2.text(), QStringLiteral("开始"));
}

void tst_Commands::popupMenu1()
{
    Fixture f;
    QStringList rows;
    for (const MenuItem *item : f.menu->items()) {
        const QAction *action = item->action();
        rows.append(item->objectName() + QLatin1Char(' ') +
                    (action->isSeparator() ? QStringLiteral("-") : action->text()));
    }
    const QStringList expected = {
        QStringLiteral("N1 参数设置\tF11"),
        QStringLiteral("N9 -"),
        QStringLiteral("N3 开始计时\tF4"),
        QStringLiteral("N4 暂停计时\tF5"),
        QStringLiteral("N5 继续计时\tF6"),
        QStringLiteral("N6 强行终止\tF7"),
        QStringLiteral("N10 -"),
        QStringLiteral("N11 窗口显示\tF8"),
        QStringLiteral("N12 隐藏显示\tF9"),
        QStringLiteral("N2 全屏显示\tF10"),
        QStringLiteral("N7 -"),
        QStringLiteral("N8 退出系统\tF12"),
    };
    QCOMPARE(rows, expected);
    QCOMPARE(f.menu->menu()->actions().size(), 12);

    // No key is ever registered with Qt's shortcut map.
    for (const QAction *action : f.menu->menu()->actions())
        QVERIFY(action->shortcut().isEmpty());

    // Disabled items grey out with their command; the radio items draw a bullet.
    QVERIFY(!f.menu->N4->action()->isEnabled());
    QVERIFY(f.menu->N3->action()->isEnabled());
    QVERIFY(f.menu->N11->action()->actionGroup());
    QVERIFY(f.menu->N11->action()->actionGroup()->isExclusive());
    QCOMPARE(checkedItems(f.menu), QStringList{QStringLiteral("N11")});

    // A disabled item does nothing when clicked.
    f.menu->N4->click();
    QVERIFY(f.log.isEmpty());
}

void tst_Commands::keyTable_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("expected"); // the command that ran, empty for none
    QTest::addColumn<bool>("usedUp");

    struct Row
    {
        int key;
        const char *command;
        bool idle, running, paused;
    };
    const Row rows[] = {
        {Qt::Key_F4, "ac_begin", true, false, false},
        {Qt::Key_F5, "ac_suspend", false, true, false},
        {Qt::Key_F6, "ac_Continue", false, false, true},
        {Qt::Key_F7, "ac_end", false, true, true},
        {Qt::Key_F8, "ac_win", true, true, true},
        {Qt::Key_F9, "ac_hide", true, true, true},
        {Qt::Key_F10, "ac_full", true, true, true},
        {Qt::Key_F11, "ac_param", true, false, false},
        {Qt::Key_F12, "ac_close", true, true, true},
    };
    const struct
    {
        const char *name;
        Qt::KeyboardModifiers modifiers;
    } modifierSets[] = {
        {"", Qt::NoModifier},
        {"Shift+", Qt::ShiftModifier},
        {"Ctrl+", Qt::ControlModifier},
        {"Alt+", Qt::AltModifier},
        {"Ctrl+Alt+", Qt::ControlModifier | Qt::AltModifier},
    };
    const struct
    {
        const char *name;
        CountdownState state;
    } states[] = {
        {"idle", CountdownState::Idle},
        {"running", CountdownState::Running},
        {"paused", CountdownState::Paused},
    };
    for (const Row &row : rows) {
        for (const auto &modifierSet : modifierSets) {
            for (const auto &state : states) {
                const bool enabled = state.state == CountdownState::Idle      ? row.idle
                                     : state.state == CountdownState::Running ? row.running
                                                                              : row.paused;
                const bool plain = modifierSet.modifiers == Qt::NoModifier;
                const QString expected =
                    plain && enabled ? QString::fromLatin1(row.command) : QString();
                QTest::addRow("%sF%d %s", modifierSet.name, row.key - Qt::Key_F1 + 1, state.name)
                    << row.key << int(modifierSet.modifiers) << int(state.state) << expected
                    << plain;
            }
        }
    }
}

void tst_Commands::keyTable()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, state);
    QFETCH(QString, expected);
    QFETCH(bool, usedUp);

    Fixture f;
    f.setState(CountdownState(state));
    const bool used = f.keys->dispatch(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.log, expected.isEmpty() ? QStringList() : QStringList{expected});
    // Plain F4 to F12 always hit a menu item, which uses the key up even when disabled.
    QCOMPARE(used, usedUp);
}

void tst_Commands::checkMarks_data()
{
    QTest::addColumn<QString>("before"); // the checked item before, empty for none
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QStringList>("after");

    const QStringList none;
    QTest::newRow("win, unchecked") << "N12"
                                    << "N11" << QStringList{"N11"};
    QTest::newRow("win, checked") << "N11"
                                  << "N11" << none;
    QTest::newRow("hide, unchecked") << "N11"
                                     << "N12" << QStringList{"N12"};
    QTest::newRow("hide, checked") << "N12"
                                   << "N12" << none;
    QTest::newRow("hide, nothing checked") << ""
                                           << "N12" << QStringList{"N12"};
    QTest::newRow("full, unchecked") << "N11"
                                     << "N2" << QStringList{"N2"};
    QTest::newRow("full, checked") << "N2"
                                   << "N2" << QStringList{"N2"};
    QTest::newRow("full, nothing checked") << ""
                                           << "N2" << QStringList{"N2"};
}

void tst_Commands::checkMarks()
{
    QFETCH(QString, before);
    QFETCH(QString, choice);
    QFETCH(QStringList, after);

    for (const bool byKey : {false, true}) {
        Fixture f;
        f.menu->N11->setChecked(false);
        if (!before.isEmpty())
            itemNamed(f.menu, before)->setChecked(true);
        QCOMPARE(checkedItems(f.menu), before.isEmpty() ? QStringList() : QStringList{before});
        MenuItem *item = itemNamed(f.menu, choice);
        if (byKey)
            QVERIFY(f.keys->dispatchShortcut(item->key()));
        else
            item->action()->trigger(); // as chosen from the open menu
        QCOMPARE(checkedItems(f.menu), after);
        QCOMPARE(f.log.size(), 1);
    }
}

void tst_Commands::accessKeys_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("captions");

    const QStringList chinese = {
        "参数设置(&R)\tF11",
        "",
        "开始计时(&S)\tF4",
        "暂停计时(&T)\tF5",
        "继续计时(&U)\tF6",
        "强行终止(&V)\tF7",
        "",
        "窗口显示(&W)\tF8",
        "隐藏显示(&X)\tF9",
        "全屏显示(&Y)\tF10",
        "",
        "退出系统(&Z)\tF12",
    };
    const QStringList plain = {
        "参数设置\tF11",
        "",
        "开始计时\tF4",
        "暂停计时\tF5",
        "继续计时\tF6",
        "强行终止\tF7",
        "",
        "窗口显示\tF8",
        "隐藏显示\tF9",
        "全屏显示\tF10",
        "",
        "退出系统\tF12",
    };
    QTest::newRow("Chinese") << QLocale(QLocale::Chinese, QLocale::China) << chinese;
    QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan) << chinese;
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << plain;
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << plain;
}

void tst_Commands::accessKeys()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, captions);

    Fixture f;
    f.menu->setAccessKeysEnabled(AccessKeys::localeUsesDoubleByteScript(locale));
    // The letters are added at the first opening and kept through every later state
    // change, the settings command's greying included.
    const auto changeState = [&f](int opening) {
        switch (opening) {
        case 1:
            f.setState(CountdownState::Running);
            break;
        case 2:
            f.setState(CountdownState::Paused);
            break;
        case 3:
            f.list->ac_param->setEnabled(false);
            f.list->ac_param->setEnabled(true);
            f.setState(CountdownState::Idle);
            break;
        default:
            break;
        }
    };
    for (int opening = 0; opening < 5; ++opening) {
        changeState(opening);
        f.menu->popup(QPoint(10, 10));
        QTRY_VERIFY(f.menu->menu()->isVisible());
        QStringList texts;
        for (const QAction *action : f.menu->menu()->actions())
            texts.append(action->isSeparator() ? QString() : action->text());
        QCOMPARE(texts, captions);
        f.menu->menu()->hide();
    }
    if (f.menu->accessKeysEnabled()) {
        // Each letter is unique, so pressing it chooses its item at once.
        f.setState(CountdownState::Running);
        f.menu->popup(QPoint(10, 10));
        QTRY_VERIFY(f.menu->menu()->isVisible());
        QTest::keyClick(f.menu->menu(), Qt::Key_Y);
        QTRY_COMPARE(f.log, QStringList{QStringLiteral("ac_full")});
        QVERIFY(!f.menu->menu()->isVisible());
    }

    // Captions that already carry an access key keep it and use no letter.
    QCOMPARE(AccessKeys::added({"&Open", "-", "Save", "A && B"}),
             QStringList({"&Open", "-", "Save(&Y)", "A && B(&Z)"}));
}

void tst_Commands::keysReachTheWindow()
{
    Fixture f;
    auto *layout = new QVBoxLayout(&f.window);
    auto *edit = new QLineEdit(&f.window);
    layout->addWidget(edit);
    f.keys->install(&f.window);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    edit->setFocus();

    QTest::keyClick(f.window.windowHandle(), Qt::Key_F4);
    QCOMPARE(f.log, QStringList{"ac_begin"});

    // Each auto-repeat is dispatched again.
    f.log.clear();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(f.window.windowHandle(), &repeat);
    }
    QCOMPARE(f.log, QStringList({"ac_win", "ac_win", "ac_win"}));

    // Keys that match nothing go on to the focused control.
    f.log.clear();
    QTest::keyClick(f.window.windowHandle(), 'a');
    QTest::keyClick(f.window.windowHandle(), 'b');
    QTest::keyClick(f.window.windowHandle(), Qt::Key_F4, Qt::ShiftModifier);
    QCOMPARE(edit->text(), QStringLiteral("ab"));
    QVERIFY(f.log.isEmpty());

    // A key pressed in a dialog never reaches the window's commands.
    QDialog dialog(&f.window);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(dialog.windowHandle(), Qt::Key_F12);
    QVERIFY(f.log.isEmpty());
}

void tst_Commands::failingHandlerStillUsesKey()
{
    Fixture f;
    QStringList shown;
    f.list->setGuard([&shown](const std::function<void()> &run) {
        try {
            run();
        } catch (const std::exception &error) {
            shown.append(QString::fromLatin1(error.what()));
        }
    });
    f.list->ac_win->setHandler([] { throw std::runtime_error("broken"); });
    auto *edit = new QLineEdit(&f.window);
    f.keys->install(&f.window);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    edit->setFocus();

    QTest::keyClick(f.window.windowHandle(), Qt::Key_F8);
    QCOMPARE(shown, QStringList{"broken"});
    // The check was set before the handler failed and stays set.
    QCOMPARE(checkedItems(f.menu), QStringList{});
    QTest::keyClick(f.window.windowHandle(), Qt::Key_F8);
    QCOMPARE(checkedItems(f.menu), QStringList{"N11"});
    QCOMPARE(shown.size(), 2);

    // A menu choice goes through the guard too.
    f.menu->N11->action()->trigger();
    QCOMPARE(shown.size(), 3);
}

void tst_Commands::contextMenu()
{
    Fixture f;
    f.window.resize(400, 300);
    auto *layout = new QVBoxLayout(&f.window);
    auto *Label7 = new QLabel(QStringLiteral("00:00:00"), &f.window);
    auto *edit = new QLineEdit(&f.window);
    auto *button = new QPushButton(QStringLiteral("开始计时"), &f.window);
    layout->addWidget(Label7);
    layout->addWidget(edit);
    layout->addWidget(button);
    new ContextMenuHook(f.menu, &f.window);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QMenu *menu = f.menu->menu();

    // A right click on the label opens the menu at the cursor.
    const QPoint at(20, 15);
    QContextMenuEvent onLabel(QContextMenuEvent::Mouse, at, Label7->mapToGlobal(at));
    QCoreApplication::sendEvent(Label7, &onLabel);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), Label7->mapToGlobal(at));
    menu->hide();

    // Inside an edit field its own text menu opens instead.
    const auto closeOwnMenu = [menu] {
        QWidget *popup = QApplication::activePopupWidget();
        QVERIFY(popup);
        QVERIFY(popup != menu);
        popup->close();
    };
    QTimer::singleShot(0, edit, closeOwnMenu); // should the edit's menu run modally
    QContextMenuEvent onEdit(QContextMenuEvent::Mouse, QPoint(5, 5),
                             edit->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(edit, &onEdit);
    QVERIFY(!menu->isVisible());
    if (QApplication::activePopupWidget())
        closeOwnMenu();

    // The menu key on a button reaches the window: top-left of the client area.
    QContextMenuEvent onButton(QContextMenuEvent::Keyboard, QPoint(2, 2),
                               button->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(button, &onButton);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), f.window.mapToGlobal(QPoint(0, 0)));
    menu->hide();
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
