// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndTime.h"
#include "QuickStarts.h"

#include <QTest>

// The texts behind the quick-start menu and the end time.
class tst_QuickStarts : public QObject
{
    Q_OBJECT

private slots:
    void presets_data();
    void presets();
    void recentAfterStart_data();
    void recentAfterStart();
    void endTimeTexts_data();
    void endTimeTexts();
    void invalidTimesGiveNoTotal();
};

using Seconds = QList<std::int32_t>;

void tst_QuickStarts::presets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Seconds>("seconds");
    QTest::newRow("default") << "5,10,15,25,45,60" << Seconds{300, 600, 900, 1500, 2700, 3600};
    QTest::newRow("spaces and empties") << " 1, ,2 ," << Seconds{60, 120};
    QTest::newRow("junk, zero, negative, fraction") << "x,0,-5,2.5,3" << Seconds{180};
    QTest::newRow("too large for seconds") << "35791394,35791395" << Seconds{2147483640};
    QTest::newRow("empty") << "" << Seconds{};
}

void tst_QuickStarts::presets()
{
    QFETCH(QString, text);
    QFETCH(Seconds, seconds);
    QCOMPARE(QuickStarts::presetSeconds(text), seconds);
}

void tst_QuickStarts::recentAfterStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("started");
    QTest::addColumn<QString>("after");
    QTest::newRow("first") << "" << 300 << "300";
    QTest::newRow("most recent first") << "300" << 90 << "90,300";
    QTest::newRow("a repeat moves to the front") << "90,300,60" << 60 << "60,90,300";
    QTest::newRow("the oldest falls off") << "1,2,3,4,5" << 6 << "6,1,2,3,4";
    QTest::newRow("a hand-edited list is cleaned") << "7,x,7,8,9,10,11,12" << 5 << "5,7,8,9,10";
}

void tst_QuickStarts::recentAfterStart()
{
    QFETCH(QString, stored);
    QFETCH(int, started);
    QFETCH(QString, after);
    const auto recent = QuickStarts::recentAfterStart(QuickStarts::recentFromText(stored), started);
    QCOMPARE(QuickStarts::recentToText(recent), after);
}

void tst_QuickStarts::endTimeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("time");
    QTest::newRow("HH:MM") << "15:30" << QTime(15, 30);
    QTest::newRow("one-digit hour") << "7:05" << QTime(7, 5);
    QTest::newRow("midnight") << "00:00" << QTime(0, 0);
    QTest::newRow("hour 24") << "24:00" << QTime();
    QTest::newRow("minute 60") << "12:60" << QTime();
    QTest::newRow("seconds") << "12:00:00" << QTime();
    QTest::newRow("empty") << "" << QTime();
    QTest::newRow("blanks around") << " 8:15\t" << QTime(8, 15);
    QTest::newRow("one-digit minute") << "8:5" << QTime();
    QTest::newRow("sign") << "+8:15" << QTime();
    QTest::newRow("no hour") << ":15" << QTime();
}

void tst_QuickStarts::endTimeTexts()
{
    QFETCH(QString, text);
    QFETCH(QTime, time);
    QCOMPARE(EndTime::fromText(text), time);
    if (time.isValid())
        QCOMPARE(EndTime::fromText(EndTime::toText(time)), time);
}

void tst_QuickStarts::invalidTimesGiveNoTotal()
{
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    QCOMPARE(EndTime::secondsUntil(QTime(), now), -1);
    QCOMPARE(EndTime::secondsUntil(QTime(13, 0), QDateTime()), -1);
}

QTEST_GUILESS_MAIN(tst_QuickStarts)
#include "tst_quickstarts.moc"
