// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickDriver.h"

#include <QTest>

#include <stdexcept>

using namespace std::chrono_literals;

// The countdown's tick driver on a clock the test moves: no display, no event loop.
class TestTickDriver : public QObject
{
    Q_OBJECT

    std::chrono::nanoseconds m_now{5s};
    int m_ticks = 0;

    MonotonicClock clock()
    {
        return [this] {
            return m_now;
        };
    }
    // A tick that counts itself and goes on.
    TickDriver::Tick counting()
    {
        return [this] {
            ++m_ticks;
            return true;
        };
    }

private slots:
    void init()
    {
        m_now = 5s;
        m_ticks = 0;
    }

    void wakesOnWholeSecondsOfRunningTime()
    {
        TickDriver driver(clock());
        QVERIFY(!driver.timeToNextTick()); // not started: no wake-up
        driver.start();
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(1s)));
        m_now += 400ms; // an early wake-up runs nothing
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 0);
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(600ms)));
        m_now += 850ms; // a late one does not shift the next
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 1);
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(750ms)));
    }

    void ticksMissedWhileBusyEachRunOnce()
    {
        TickDriver driver(clock());
        driver.start();
        m_now += 3700ms; // e.g. a roll transition held the thread
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 3);
        QCOMPARE(driver.owedTicks(), 0);
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 3);
    }

    void finishingTickEndsTheRun()
    {
        TickDriver driver(clock());
        driver.start();
        m_now += 5s;
        int run = 0;
        driver.runDueTicks([&run] { return ++run < 2; });
        QCOMPARE(run, 2);
        QCOMPARE(driver.owedTicks(), 3);
        // The next countdown owes nothing from the last one.
        driver.start();
        QCOMPARE(driver.owedTicks(), 0);
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(1s)));
    }

    void pauseInsideATickKeepsTheRestOwed()
    {
        TickDriver driver(clock());
        driver.start();
        m_now += 4s;
        int run = 0;
        driver.runDueTicks([&] {
            if (++run == 2)
                driver.pause(); // the pause command ran inside this tick
            return true;
        });
        QCOMPARE(run, 2);
        QCOMPARE(driver.owedTicks(), 2);
        QVERIFY(!driver.timeToNextTick());
        m_now += 1min; // paused time does not count
        driver.resume();
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(0)));
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 2);
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(1s)));
    }

    void resumeCountsOnWhereStartBeginsAgain()
    {
        TickDriver driver(clock());
        driver.start();
        m_now += 1300ms;
        driver.runDueTicks(counting());
        driver.pause();
        m_now += 10s;
        driver.resume();
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(700ms)));
        driver.pause();
        driver.start();
        QCOMPARE(driver.timeToNextTick(), std::optional(std::chrono::nanoseconds(1s)));
        m_now += 2s;
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 3);
    }

    void aTickThatThrowsCountsAsRun()
    {
        TickDriver driver(clock());
        driver.start();
        m_now += 3s;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, driver.runDueTicks([]() -> bool {
            throw std::runtime_error("device");
        }));
        QCOMPARE(driver.owedTicks(), 2);
        driver.runDueTicks(counting());
        QCOMPARE(m_ticks, 2);
    }
};

QTEST_GUILESS_MAIN(TestTickDriver)
#include "tst_tickdriver.moc"
