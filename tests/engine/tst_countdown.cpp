// SPDX-License-Identifier: GPL-3.0-or-later
#include "Countdown.h"
#include "TarvikError.h"

#include <QStringList>
#include <QTest>

namespace {

// Keeps the counters as texts, like the window's fields, and records what the tick did.
class FakeView : public CountdownView
{
public:
    QString total = QStringLiteral("00");
    QString elapsed = QStringLiteral("00");
    QString remaining = QStringLiteral("00");
    QString display = QStringLiteral("00:00:00");
    QStringList events;
    bool alarmThrows = false;

    QString totalText() const override { return total; }
    QString elapsedText() const override { return elapsed; }
    QString remainingText() const override { return remaining; }
    void setTotalText(const QString &text) override { total = text; }
    void setElapsedText(const QString &text) override { elapsed = text; }
    void setRemainingText(const QString &text) override { remaining = text; }
    void setDisplayText(const QString &text) override
    {
        display = text;
        events << QStringLiteral("display ") + text;
    }
    void processPendingEvents() override { events << QStringLiteral("events"); }
    void startAlarm() override
    {
        events << QStringLiteral("alarm");
        if (alarmThrows)
            throw TarvikError(QStringLiteral("device failed"));
    }
    void finishCountdown() override { events << QStringLiteral("finish"); }
};

} // namespace

class TestCountdown : public QObject
{
    Q_OBJECT

private slots:
    void totalFromDurationTexts_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<int>("total");
        QTest::newRow("1:30:00") << "1"
                                 << "30"
                                 << "0" << 5400;
        QTest::newRow("as read from the file") << "01"
                                               << "30"
                                               << "00" << 5400;
        QTest::newRow("halves go to even") << "2.5"
                                           << "3.5"
                                           << "0.5" << 2 * 3600 + 4 * 60;
        QTest::newRow("exponent") << "0"
                                  << "0"
                                  << "1e2" << 100;
        QTest::newRow("not a number is 0") << "abc"
                                           << ""
                                           << "5" << 5;
        QTest::newRow("no range limit") << "150"
                                        << "0"
                                        << "0" << 540000;
        QTest::newRow("huge clamps") << "1e300"
                                     << "0"
                                     << "0" << INT32_MAX;
        QTest::newRow("beyond 32 bits clamps") << "2147483647"
                                               << "59"
                                               << "59" << INT32_MAX;
        QTest::newRow("negative huge clamps") << "-1e300"
                                              << "0"
                                              << "0" << INT32_MIN;
        QTest::newRow("infinite exponent") << "0"
                                           << "1e99999"
                                           << "0" << INT32_MAX;
    }
    void totalFromDurationTexts()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(int, total);
        QCOMPARE(Countdown::totalSeconds(hours, minutes, seconds), total);
    }

    void displayText_data()
    {
        QTest::addColumn<int>("remaining");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "00:00:00";
        QTest::newRow("5399") << 5399 << "01:29:59";
        QTest::newRow("-1") << -1 << "00:00:-01";
        QTest::newRow("-61") << -61 << "00:-01:-01";
        QTest::newRow("100 hours") << 360000 << "100:00:00";
        QTest::newRow("largest") << INT32_MAX << "596523:14:07";
        QTest::newRow("smallest") << INT32_MIN << "-596523:-14:-08";
    }
    void displayText()
    {
        QFETCH(int, remaining);
        QFETCH(QString, text);
        QCOMPARE(Countdown::displayText(remaining), text);
    }

    void startFillsTotalAndRemaining()
    {
        FakeView view;
        Countdown::start(view, QStringLiteral("1"), QStringLiteral("30"), QStringLiteral("0"));
        QCOMPARE(view.total, QStringLiteral("5400"));
        QCOMPARE(view.remaining, QStringLiteral("5400"));
        QCOMPARE(view.elapsed, QStringLiteral("00"));

        QCOMPARE(Countdown::tick(view, 0), Countdown::TickResult::Counting);
        QCOMPARE(view.elapsed, QStringLiteral("1"));
        QCOMPARE(view.remaining, QStringLiteral("5399"));
        QCOMPARE(view.display, QStringLiteral("01:29:59"));
    }

    void wholeShortCountdownWithAlarm()
    {
        FakeView view;
        Countdown::start(view, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("3"));
        QCOMPARE(Countdown::tick(view, 1), Countdown::TickResult::Counting);
        QCOMPARE(Countdown::tick(view, 1), Countdown::TickResult::Counting);
        QCOMPARE(Countdown::tick(view, 1), Countdown::TickResult::Finished);
        const QStringList expected{
            "events", "display 00:00:02", "events", "events", "display 00:00:01", "alarm", "events",
            "events", "display 00:00:00", "finish", "events"};
        QCOMPARE(view.events, expected);
        QCOMPARE(view.total, QStringLiteral("3"));
        QCOMPARE(view.elapsed, QStringLiteral("3"));
        QCOMPARE(view.remaining, QStringLiteral("0"));
    }

    void alarmAtLeadZeroComesBeforeTheFinish()
    {
        FakeView view;
        Countdown::start(view, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"));
        QCOMPARE(Countdown::tick(view, 0), Countdown::TickResult::Finished);
        const QStringList expected{"events", "display 00:00:00", "alarm", "finish", "events"};
        QCOMPARE(view.events, expected);
    }

    void alarmLeadEqualToTheTotalNeverFires()
    {
        FakeView view;
        Countdown::start(view, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("2"));
        Countdown::tick(view, 2);
        Countdown::tick(view, 2);
        QVERIFY(!view.events.contains(QStringLiteral("alarm")));
        QVERIFY(view.events.contains(QStringLiteral("finish")));
    }

    void zeroDurationRunsBelowZero()
    {
        FakeView view;
        Countdown::start(view, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
        for (int i = 0; i < 61; ++i)
            QCOMPARE(Countdown::tick(view, 5), Countdown::TickResult::Counting);
        QCOMPARE(view.remaining, QStringLiteral("-61"));
        QCOMPARE(view.display, QStringLiteral("00:-01:-01"));
        QVERIFY(!view.events.contains(QStringLiteral("finish")));
    }

    void failingAlarmEndsTheTickBeforeTheFinishTest()
    {
        FakeView view;
        view.alarmThrows = true;
        Countdown::start(view, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(TarvikError, Countdown::tick(view, 0));
        QCOMPARE(view.events.last(), QStringLiteral("alarm"));
        QCOMPARE(view.display, QStringLiteral("00:00:00"));
    }

    void countersAreReadFromTheirTexts()
    {
        FakeView view;
        view.total = QStringLiteral("10");
        view.elapsed = QStringLiteral("x"); // not a number: counts as 0
        Countdown::tick(view, -1);
        QCOMPARE(view.elapsed, QStringLiteral("1"));
        QCOMPARE(view.remaining, QStringLiteral("9"));

        view.elapsed = QStringLiteral("2147483647"); // stops at the limit instead of wrapping
        view.total = QStringLiteral("0");
        Countdown::tick(view, -1);
        QCOMPARE(view.elapsed, QStringLiteral("2147483647"));
        QCOMPARE(view.remaining, QStringLiteral("-2147483647"));
    }

    // A hand-edited duration beyond 32 bits saturates in both directions, at the start
    // and on every tick after it, whether the start reads texts or field values.
    void durationsBeyond32BitsSaturate_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("afterTwoTicks");
        QTest::addColumn<QString>("display");
        QTest::newRow("negative") << "-596524" << "-2147483648" << "-2147483648"
                                  << "-596523:-14:-08";
        QTest::newRow("positive") << "596524" << "2147483647" << "2147483645"
                                  << "596523:14:05";
    }
    void durationsBeyond32BitsSaturate()
    {
        QFETCH(QString, hours);
        QFETCH(QString, total);
        QFETCH(QString, afterTwoTicks);
        QFETCH(QString, display);

        FakeView fromTexts;
        Countdown::start(fromTexts, hours, QStringLiteral("0"), QStringLiteral("0"));
        FakeView fromValues;
        Countdown::start(fromValues, hours.toInt(), 0, 0);
        for (FakeView *view : {&fromTexts, &fromValues}) {
            QCOMPARE(view->total, total);
            QCOMPARE(view->remaining, total);
            Countdown::tick(*view, 0);
            Countdown::tick(*view, 0);
            QCOMPARE(view->remaining, afterTwoTicks);
            QCOMPARE(view->display, display);
        }
        QCOMPARE(Countdown::totalSeconds(INT32_MIN, INT32_MIN, INT32_MIN), INT32_MIN);
        QCOMPARE(Countdown::totalSeconds(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
