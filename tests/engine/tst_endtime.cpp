// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndTime.h"

#include <QTest>
#include <QTimeZone>

class tst_EndTime : public QObject
{
    Q_OBJECT

private slots:
    void secondsUntil_data();
    void secondsUntil();
};

void tst_EndTime::secondsUntil_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QTime>("end");
    QTest::addColumn<int>("seconds");

    const QDate day(2026, 12, 7);
    const auto utc = [day](int h, int m, int s, int ms = 0) {
        return QDateTime(day, QTime(h, m, s, ms), QTimeZone::utc());
    };
    QTest::newRow("later today") << utc(10, 0, 0) << QTime(10, 25) << 25 * 60;
    QTest::newRow("part second rounds up") << utc(9, 59, 59, 200) << QTime(10, 0) << 1;
    QTest::newRow("just after a whole second") << utc(9, 58, 0, 1) << QTime(10, 0) << 120;
    QTest::newRow("now is tomorrow's") << utc(10, 0, 0) << QTime(10, 0) << 86400;
    QTest::newRow("passed by a moment") << utc(10, 0, 0, 500) << QTime(10, 0) << 86400;
    QTest::newRow("passed: tomorrow") << utc(23, 0, 0) << QTime(6, 30) << 7 * 3600 + 1800;
    QTest::newRow("midnight") << utc(23, 59, 30) << QTime(0, 0) << 30;
    QTest::newRow("from midnight") << utc(0, 0, 0) << QTime(23, 59) << 86340;
    QTest::newRow("invalid time") << utc(10, 0, 0) << QTime() << -1;

    // A clock change in the night makes tomorrow's time nearer or further (Berlin: the clocks
    // go forward on 29 March 2026 at 02:00, back on 25 October 2026 at 03:00).
    const QTimeZone berlin("Europe/Berlin");
    if (berlin.isValid()) {
        QTest::newRow("spring forward")
            << QDateTime(QDate(2026, 3, 28), QTime(22, 0), berlin) << QTime(6, 0) << 7 * 3600;
        QTest::newRow("fall back")
            << QDateTime(QDate(2026, 10, 24), QTime(22, 0), berlin) << QTime(6, 0) << 9 * 3600;
    }
}

void tst_EndTime::secondsUntil()
{
    QFETCH(QDateTime, now);
    QFETCH(QTime, end);
    QFETCH(int, seconds);
    QCOMPARE(EndTime::secondsUntil(end, now), seconds);
}

QTEST_GUILESS_MAIN(tst_EndTime)
#include "tst_endtime.moc"
