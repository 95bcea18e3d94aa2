// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonitorChoice.h"

#include <QTest>

class tst_MonitorChoice : public QObject
{
    Q_OBJECT

private slots:
    void screenIndex_data();
    void screenIndex();
    void unpluggedMonitorFallsBack();
    void entries();
};

void tst_MonitorChoice::screenIndex_data()
{
    QTest::addColumn<qint64>("setting");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");

    const int own = MonitorChoice::windowsOwn;
    QTest::newRow("0: window's own") << qint64(0) << 2 << own;
    QTest::newRow("1 of 1") << qint64(1) << 1 << 0;
    QTest::newRow("2 of 2") << qint64(2) << 2 << 1;
    QTest::newRow("2 of 3") << qint64(2) << 3 << 1;
    QTest::newRow("3 of 2: missing") << qint64(3) << 2 << own;
    QTest::newRow("1 of none") << qint64(1) << 0 << own;
    QTest::newRow("negative") << qint64(-1) << 2 << own;
    QTest::newRow("beyond 32 bits") << qint64(1) + std::numeric_limits<int>::max() << 2 << own;
}

void tst_MonitorChoice::screenIndex()
{
    QFETCH(qint64, setting);
    QFETCH(int, count);
    QFETCH(int, index);
    QCOMPARE(MonitorChoice::screenIndex(setting, count), index);
}

void tst_MonitorChoice::unpluggedMonitorFallsBack()
{
    // The projector as the second monitor, then unplugged, then plugged in again: the
    // setting is kept throughout and counts again once the monitor is back.
    const qint64 setting = 2;
    QCOMPARE(MonitorChoice::screenIndex(setting, 2), 1);
    QCOMPARE(MonitorChoice::screenIndex(setting, 1), MonitorChoice::windowsOwn);
    QCOMPARE(MonitorChoice::screenIndex(setting, 2), 1);
}

void tst_MonitorChoice::entries()
{
    QCOMPARE(MonitorChoice::automaticEntry(), QStringLiteral("自动（窗口所在显示器）"));
    QCOMPARE(MonitorChoice::monitorEntry(1, QSize(1920, 1080), QStringLiteral("HDMI-1")),
             QStringLiteral("1: 1920 × 1080 (HDMI-1)"));
    // Some platforms give no name.
    QCOMPARE(MonitorChoice::monitorEntry(2, QSize(1280, 720), QString()),
             QStringLiteral("2: 1280 × 720"));
    QCOMPARE(MonitorChoice::absentEntry(3), QStringLiteral("3: 未连接"));
}

QTEST_GUILESS_MAIN(tst_MonitorChoice)
#include "tst_monitorchoice.moc"
