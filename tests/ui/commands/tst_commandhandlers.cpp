// SPDX-License-Identifier: GPL-3.0-or-later
#include "Command.h"
#include "DisplayModes.h"
#include "ParamCommand.h"
#include "SaveDurationCommand.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <memory>
#include <stdexcept>

namespace {

// Records its modal run and its destruction.
class FakeDialog : public QDialog
{
public:
    FakeDialog(QStringList *log, Command *acParam, bool fail)
        : m_log(log)
        , m_acParam(acParam)
        , m_fail(fail)
    {}
    ~FakeDialog() override { m_log->append(QStringLiteral("destroy")); }
    int exec() override
    {
        m_log->append(m_acParam->isEnabled() ? QStringLiteral("exec, ac_param enabled")
                                             : QStringLiteral("exec"));
        if (m_fail)
            throw std::runtime_error("dialog failed");
        return QDialog::Rejected;
    }

private:
    QStringList *m_log;
    Command *m_acParam;
    bool m_fail;
};

} // namespace

class tst_CommandHandlers : public QObject
{
    Q_OBJECT

private slots:
    void saveDuration();
    void paramSteps();
    void paramStepsWhenTheDialogFails();
    void displayModes();
};

void tst_CommandHandlers::saveDuration()
{
    QStringList written;
    const auto write = [&written](SettingsSchema::Key key, const QString &value) {
        written.append(SettingsSchema::name(key) + QLatin1Char('=') + value);
    };
    const SaveDurationCommand::Duration fields{QStringLiteral("02"), QStringLiteral("5"),
                                               QStringLiteral("00")};

    QVERIFY(!SaveDurationCommand::run(
        fields, [] { return false; }, write));
    QVERIFY(written.isEmpty());

    QVERIFY(SaveDurationCommand::run(
        fields, [] { return true; }, write));
    QCOMPARE(written, QStringList({"shi=02", "feng=5", "miao=00"}));

    // A failing write ends the command there.
    written.clear();
    const auto failOnFeng = [&written](SettingsSchema::Key key, const QString &value) {
        if (key == SettingsSchema::Key::feng)
            throw std::runtime_error("Unable to write to config.dat");
        written.append(SettingsSchema::name(key) + QLatin1Char('=') + value);
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, SaveDurationCommand::run(
                                                     fields, [] { return true; }, failOnFeng));
    QCOMPARE(written, QStringList{"shi=02"});
}

void tst_CommandHandlers::paramSteps()
{
    QStringList log;
    Command acParam(QStringLiteral("ac_param"), QStringLiteral("参数设置"), 0);
    Command acReadparam(QStringLiteral("ac_readparam"), QStringLiteral("读取参数值"), 0);
    connect(&acParam, &Command::changed, &acParam, [&] {
        log.append(acParam.isEnabled() ? QStringLiteral("enable") : QStringLiteral("disable"));
    });
    acReadparam.setHandler([&log] { log.append(QStringLiteral("readparam")); });

    ParamCommand::run(acParam, acReadparam, [&]() -> std::unique_ptr<QDialog> {
        log.append(QStringLiteral("create"));
        return std::make_unique<FakeDialog>(&log, &acParam, false);
    });
    QCOMPARE(log, QStringList({"disable", "create", "exec", "destroy", "enable", "readparam"}));
}

void tst_CommandHandlers::paramStepsWhenTheDialogFails()
{
    QStringList log;
    Command acParam(QStringLiteral("ac_param"), QStringLiteral("参数设置"), 0);
    Command acReadparam(QStringLiteral("ac_readparam"), QStringLiteral("读取参数值"), 0);
    acReadparam.setHandler([&log] { log.append(QStringLiteral("readparam")); });

    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ParamCommand::run(acParam, acReadparam, [&] {
                                 return std::unique_ptr<QDialog>(
                                     std::make_unique<FakeDialog>(&log, &acParam, true));
                             }));
    // The command is usable again; the settings are not applied after a failure.
    QCOMPARE(log, QStringList({"exec", "destroy"}));
    QVERIFY(acParam.isEnabled());
}

void tst_CommandHandlers::displayModes()
{
    QWidget window;
    window.setWindowState(Qt::WindowMaximized);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DisplayModes modes(&window);
    QSignalSpy changed(&modes, &DisplayModes::changed);

    // Window display on a framed maximised window changes nothing.
    int stateChanges = 0;
    class StateWatch : public QObject
    {
    public:
        explicit StateWatch(int *count)
            : m_count(count)
        {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::WindowStateChange)
                ++*m_count;
            return false;
        }

    private:
        int *m_count;
    } watch(&stateChanges);
    window.installEventFilter(&watch);
    modes.showWindowed();
    QCOMPARE(stateChanges, 0);
    QCOMPARE(changed.size(), 1);

    modes.showFullScreen();
    QVERIFY(window.isFullScreen());
    QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));

    modes.showHidden();
    QVERIFY(window.isMinimized());
    QVERIFY(!window.isFullScreen());

    modes.showFullScreen();
    QVERIFY(window.isFullScreen());
    QVERIFY(!window.isMinimized());

    modes.showWindowed();
    QCOMPARE(window.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
    QCOMPARE(changed.size(), 5);
}

QTEST_MAIN(tst_CommandHandlers)
#include "tst_commandhandlers.moc"
