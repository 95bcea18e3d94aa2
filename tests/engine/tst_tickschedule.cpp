// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickSchedule.h"

#include <QTest>

using namespace std::chrono_literals;

class TestTickSchedule : public QObject
{
    Q_OBJECT

    std::chrono::nanoseconds m_now{5s};
    MonotonicClock clock()
    {
        return [this] {
            return m_now;
        };
    }

private slots:
    void init() { m_now = 5s; }

    void ticksFallDueOnWholeSeconds()
    {
        TickSchedule schedule(clock());
        schedule.start();
        QCOMPARE(schedule.untilNextTick(), std::chrono::nanoseconds(1s));
        m_now += 999ms;
        QCOMPARE(schedule.takeDueTicks(), 0);
        QCOMPARE(schedule.untilNextTick(), std::chrono::nanoseconds(1ms));
        m_now += 1ms;
        QCOMPARE(schedule.takeDueTicks(), 1);
        QCOMPARE(schedule.takeDueTicks(), 0);
        // A late wake-up does not shift later ticks.
        m_now += 1300ms;
        QCOMPARE(schedule.takeDueTicks(), 1);
        QCOMPARE(schedule.untilNextTick(), std::chrono::nanoseconds(700ms));
    }

    void aBusyThreadGetsEveryMissedTick()
    {
        TickSchedule schedule(clock());
        schedule.start();
        m_now += 3500ms;
        QCOMPARE(schedule.takeDueTicks(), 3);
        QCOMPARE(schedule.untilNextTick(), std::chrono::nanoseconds(500ms));
    }

    void pausedTimeDoesNotCount()
    {
        TickSchedule schedule(clock());
        schedule.start();
        m_now += 1400ms;
        QCOMPARE(schedule.takeDueTicks(), 1);
        schedule.pause();
        m_now += 10s;
        QCOMPARE(schedule.takeDueTicks(), 0);
        schedule.resume();
        QCOMPARE(schedule.untilNextTick(), std::chrono::nanoseconds(600ms));
        m_now += 600ms;
        QCOMPARE(schedule.takeDueTicks(), 1);
    }

    void startBeginsAgainFromZero()
    {
        TickSchedule schedule(clock());
        schedule.start();
        m_now += 2500ms;
        QCOMPARE(schedule.takeDueTicks(), 2);
        schedule.stop();
        QVERIFY(!schedule.isRunning());
        m_now += 100ms;
        schedule.start();
        QCOMPARE(schedule.takeDueTicks(), 0);
        QCOMPARE(schedule.untilNextTick(), std::chrono::nanoseconds(1s));
    }

    void bootClockMovesForward()
    {
        const auto clock = Clocks::boot();
        const auto first = clock();
        QVERIFY(clock() >= first);
        QVERIFY(first > std::chrono::nanoseconds(0));
    }
};

QTEST_GUILESS_MAIN(TestTickSchedule)
#include "tst_tickschedule.moc"
