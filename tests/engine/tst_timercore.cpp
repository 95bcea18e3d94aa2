// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndTime.h"
#include "TimerCore.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <stdexcept>

using namespace std::chrono_literals;

// The countdown without a window: what every front end sees and may do.
class tst_TimerCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void countsToTheFinishWithTheAlarmAtTheLead();
    void pauseAndResumeKeepTheCounters();
    void commandsTheStateRefuses_data();
    void commandsTheStateRefuses();
    void aFailedApplyStartsNothing();
    void aZeroTotalCountsOnBelowZero();
    void colourStageOnEachTick_data();
    void colourStageOnEachTick();
    void anApplyOfTheSettingsResetsTheStage();
    void countsToATimeOfDay_data();
    void countsToATimeOfDay();
    void addSecondsWhileCounting_data();
    void addSecondsWhileCounting();

private:
    // Advances the clock by whole seconds and lets the countdown timer's handler run.
    void runSeconds(int seconds);

    std::chrono::nanoseconds m_now{0};
    std::unique_ptr<TimerCore> m_core;
    QStringList m_log;
    int m_savedDuration = 0;
    bool m_failApply = false;
};

void tst_TimerCore::init()
{
    m_now = 1s;
    m_log.clear();
    m_savedDuration = 5;
    m_failApply = false;
    m_core = std::make_unique<TimerCore>([this] { return m_now; });
    m_core->setHooks({
        .applySettings =
            [this] {
                m_log.append(QStringLiteral("apply"));
                if (m_failApply)
                    throw std::runtime_error("bad setting");
                m_core->resetCounters();
            },
        .savedDuration = [this] { return m_savedDuration; },
        .startAlarm = [this] { m_log.append(QStringLiteral("alarm ") + m_core->displayText()); },
        .showFinished = [this] { m_log.append(QStringLiteral("finished box")); },
        .tickFailed = {},
    });
}

void tst_TimerCore::runSeconds(int seconds)
{
    for (int i = 0; i < seconds; ++i) {
        m_now += 1s;
        m_core->Timer1Timer();
    }
}

void tst_TimerCore::countsToTheFinishWithTheAlarmAtTheLead()
{
    QSignalSpy states(m_core.get(), &TimerCore::stateChanged);
    QSignalSpy finished(m_core.get(), &TimerCore::finished);
    QSignalSpy alarms(m_core.get(), &TimerCore::alarmDue);
    m_core->setAlarmLead(2);
    QVERIFY(m_core->start());
    QCOMPARE(m_core->state(), CountdownState::Running);
    QCOMPARE(m_core->totalText(), QStringLiteral("5"));
    QCOMPARE(m_core->remainingText(), QStringLiteral("5"));
    QCOMPARE(m_core->elapsedText(), QStringLiteral("00"));
    QCOMPARE(m_core->displayText(), QStringLiteral("00:00:00"));
    QVERIFY(m_core->countdownTimer()->isActive());

    runSeconds(3);
    QCOMPARE(m_core->remaining(), 2);
    QCOMPARE(m_log, QStringList({"apply", "alarm 00:00:02"}));
    runSeconds(2);
    QCOMPARE(m_core->state(), CountdownState::Idle);
    QCOMPARE(m_core->displayText(), QStringLiteral("00:00:00"));
    QCOMPARE(m_core->elapsed(), 5);
    QCOMPARE(m_log.last(), QStringLiteral("finished box"));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(alarms.size(), 1);
    QVERIFY(!m_core->countdownTimer()->isActive());
    QCOMPARE(states.size(), 2); // running, then idle at the finish

    // No tick after the finish.
    runSeconds(3);
    QCOMPARE(m_core->elapsed(), 5);
}

void tst_TimerCore::pauseAndResumeKeepTheCounters()
{
    QVERIFY(m_core->startFor(90));
    QCOMPARE(m_core->total(), 90);
    runSeconds(2);
    QVERIFY(m_core->pause());
    QCOMPARE(m_core->state(), CountdownState::Paused);
    m_now += 30s; // paused time does not count
    m_core->Timer1Timer();
    QCOMPARE(m_core->elapsed(), 2);
    QVERIFY(m_core->resume());
    runSeconds(1);
    QCOMPARE(m_core->elapsed(), 3);
    QCOMPARE(m_core->remaining(), 87);
    QCOMPARE(m_core->displayText(), QStringLiteral("00:01:27"));
    QVERIFY(m_core->end());
    QCOMPARE(m_core->displayText(), QStringLiteral("00:01:27"));
    // A start for given seconds applies the settings like any start.
    QCOMPARE(m_log, QStringList{"apply"});
}

void tst_TimerCore::commandsTheStateRefuses_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("command");
    const auto start = int(TimerCore::Command::Start);
    const auto pause = int(TimerCore::Command::Pause);
    const auto resume = int(TimerCore::Command::Resume);
    const auto end = int(TimerCore::Command::End);
    QTest::newRow("pause while idle") << "idle" << pause;
    QTest::newRow("resume while idle") << "idle" << resume;
    QTest::newRow("end while idle") << "idle" << end;
    QTest::newRow("start while running") << "running" << start;
    QTest::newRow("resume while running") << "running" << resume;
    QTest::newRow("start while paused") << "paused" << start;
    QTest::newRow("pause while paused") << "paused" << pause;
}

void tst_TimerCore::commandsTheStateRefuses()
{
    QFETCH(QString, state);
    QFETCH(int, command);
    if (state != QLatin1String("idle"))
        QVERIFY(m_core->startFor(60));
    if (state == QLatin1String("paused"))
        QVERIFY(m_core->pause());
    runSeconds(1);
    const auto before = m_core->state();
    const QString elapsed = m_core->elapsedText();
    const qsizetype applies = m_log.size();
    QSignalSpy states(m_core.get(), &TimerCore::stateChanged);

    const auto which = TimerCore::Command(command);
    QVERIFY(!m_core->isAllowed(which));
    const bool done = which == TimerCore::Command::Start ? m_core->start()
                      : which == TimerCore::Command::Pause ? m_core->pause()
                      : which == TimerCore::Command::Resume ? m_core->resume()
                                                            : m_core->end();
    QVERIFY(!done);
    QVERIFY(!m_core->startFor(5) || before == CountdownState::Idle);
    if (before != CountdownState::Idle) {
        QCOMPARE(m_core->state(), before);
        QCOMPARE(m_core->elapsedText(), elapsed);
        QCOMPARE(m_log.size(), applies);
        QCOMPARE(states.size(), 0);
    }
}

void tst_TimerCore::aFailedApplyStartsNothing()
{
    m_failApply = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_core->start());
    QCOMPARE(m_core->state(), CountdownState::Idle);
    QVERIFY(m_core->totalText().isEmpty());
    QVERIFY(!m_core->countdownTimer()->isActive());
    m_failApply = false;
    QVERIFY(m_core->start());
    QCOMPARE(m_core->state(), CountdownState::Running);
}

void tst_TimerCore::aZeroTotalCountsOnBelowZero()
{
    QSignalSpy finished(m_core.get(), &TimerCore::finished);
    m_core->setAlarmLead(-3);
    QVERIFY(m_core->startFor(0));
    runSeconds(3);
    QCOMPARE(m_core->remaining(), -3);
    QCOMPARE(m_core->displayText(), QStringLiteral("00:00:-03"));
    QCOMPARE(m_log.last(), QStringLiteral("alarm 00:00:-03"));
    runSeconds(58);
    QCOMPARE(m_core->displayText(), QStringLiteral("00:-01:-01"));
    QCOMPARE(m_core->state(), CountdownState::Running);
    QCOMPARE(finished.size(), 0);
}

void tst_TimerCore::colourStageOnEachTick_data()
{
    // The stage after the start and after each tick, one letter each: Normal, First
    // warning, Second warning, Over (below zero).
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("stages");
    QTest::newRow("warnings off") << 0 << 0 << 2 << "NNN";
    QTest::newRow("first at 3, second at 1") << 3 << 1 << 5 << "NNFFSS";
    QTest::newRow("started inside the first") << 4 << 2 << 3 << "FSSS";
    QTest::newRow("started inside the second") << 4 << 2 << 2 << "SSS";
    QTest::newRow("second above first wins from its crossing") << 1 << 3 << 5 << "NNSSSS";
    QTest::newRow("only the second") << 0 << 2 << 4 << "NNSSS";
    QTest::newRow("negative total is over at once") << 3 << 1 << -2 << "OOO";
    QTest::newRow("zero total runs on below zero") << 3 << 1 << 0 << "SOO";
}

void tst_TimerCore::colourStageOnEachTick()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, total);
    QFETCH(QString, stages);
    const QString letters = QStringLiteral("NFSO");
    m_core->setWarnings(first, second);
    QCOMPARE(m_core->colourStage(), ColourStage::Normal);
    QString seen;
    // Read when the remaining counter changes: the colour is right on the crossing tick,
    // before that tick's display text is shown.
    QString atDisplay;
    connect(m_core.get(), &TimerCore::displayChanged, this,
            [&] { atDisplay += letters.at(int(m_core->colourStage())); });
    QVERIFY(m_core->startFor(total));
    seen += letters.at(int(m_core->colourStage()));
    atDisplay.clear();
    for (qsizetype i = 1; i < stages.size(); ++i) {
        runSeconds(1);
        seen += letters.at(int(m_core->colourStage()));
    }
    QCOMPARE(seen, stages);
    QCOMPARE(atDisplay, stages.mid(1, atDisplay.size()));
}

void tst_TimerCore::anApplyOfTheSettingsResetsTheStage()
{
    QSignalSpy changes(m_core.get(), &TimerCore::colourStageChanged);
    m_core->setWarnings(10, 5);
    QVERIFY(m_core->startFor(3));
    QCOMPARE(m_core->colourStage(), ColourStage::Second);
    QVERIFY(m_core->end());
    m_core->resetCounters(); // what every apply of the settings ends with
    QCOMPARE(m_core->colourStage(), ColourStage::Normal);
    QCOMPARE(changes.size(), 2);
}

void tst_TimerCore::countsToATimeOfDay_data()
{
    QTest::addColumn<QDateTime>("startedAt");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("total");
    const auto at = [](int h, int m, int s, int ms) {
        return QDateTime(QDate(2026, 12, 7), QTime(h, m, s, ms));
    };
    QTest::newRow("half a minute before, with a fraction") << at(15, 29, 30, 400) << "15:30" << 30;
    QTest::newRow("on a whole second") << at(15, 29, 30, 0) << "15:30" << 30;
    QTest::newRow("a millisecond before") << at(15, 29, 59, 999) << "15:30" << 1;
    QTest::newRow("across midnight") << at(23, 59, 30, 400) << "00:00" << 30;
    QTest::newRow("equal to now: tomorrow") << at(15, 30, 0, 0) << "15:30" << 86400;
    QTest::newRow("just past: tomorrow") << at(15, 30, 0, 400) << "15:30" << 86400;
    QTest::newRow("an hour and a half ahead") << at(8, 0, 0, 0) << "09:30" << 5400;
}

void tst_TimerCore::countsToATimeOfDay()
{
    QFETCH(QDateTime, startedAt);
    QFETCH(QString, end);
    QFETCH(int, total);
    const QTime endTime = EndTime::fromText(end);
    QVERIFY(endTime.isValid());
    // The wall clock moves with the monotonic one here; the countdown reads only the latter.
    const auto startTicks = m_now;
    const auto wallNow = [&] {
        using std::chrono::milliseconds;
        return startedAt.addMSecs(
            std::chrono::duration_cast<milliseconds>(m_now - startTicks).count());
    };
    m_savedDuration = EndTime::secondsUntil(endTime, wallNow());
    QCOMPARE(m_savedDuration, total);
    QSignalSpy finished(m_core.get(), &TimerCore::finished);
    QVERIFY(m_core->start());
    QCOMPARE(m_core->total(), total);
    runSeconds(total - 1);
    QCOMPARE(finished.size(), 0);
    runSeconds(1);
    QCOMPARE(finished.size(), 1);
    // Never before the end time, and less than a second after it.
    QDateTime endAt = startedAt;
    endAt.setTime(endTime);
    if (endAt <= startedAt)
        endAt = endAt.addDays(1);
    QVERIFY(wallNow() >= endAt);
    QVERIFY(wallNow() < endAt.addSecs(1));
}

void tst_TimerCore::addSecondsWhileCounting_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<int>("add");
    QTest::addColumn<int>("remainingAfter");
    QTest::addColumn<QString>("displayAfter");
    QTest::newRow("one minute more") << 90 << 10 << false << 60 << 140 << "00:02:20";
    QTest::newRow("one minute less") << 300 << 1 << false << -60 << 239 << "00:03:59";
    QTest::newRow("while paused") << 90 << 10 << true << 60 << 140 << "00:02:20";
    QTest::newRow("less than is left keeps one second") << 30 << 5 << false << -60 << 1
                                                        << "00:00:01";
    QTest::newRow("in overtime") << 0 << 5 << false << 60 << 55 << "00:00:55";
    QTest::newRow("beyond 32 bits clamps") << 10 << 0 << false << INT32_MAX << INT32_MAX
                                           << "596523:14:07";
}

void tst_TimerCore::addSecondsWhileCounting()
{
    QFETCH(int, total);
    QFETCH(int, ticks);
    QFETCH(bool, paused);
    QFETCH(int, add);
    QFETCH(int, remainingAfter);
    QFETCH(QString, displayAfter);
    QVERIFY(!m_core->addSeconds(60)); // idle refuses it
    QVERIFY(m_core->startFor(total));
    runSeconds(ticks);
    if (paused)
        QVERIFY(m_core->pause());
    QVERIFY(m_core->addSeconds(add));
    QCOMPARE(m_core->remaining(), remainingAfter);
    QCOMPARE(m_core->displayText(), displayAfter);
    QCOMPARE(m_core->elapsed(), ticks);
    if (remainingAfter == 1) { // the next tick still finishes it
        runSeconds(1);
        QCOMPARE(m_core->state(), CountdownState::Idle);
    }
}

QTEST_GUILESS_MAIN(tst_TimerCore)
#include "tst_timercore.moc"
