// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionLock.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_SessionLock : public QObject
{
    Q_OBJECT

private slots:
    void oneHolderPerBus();
    void nothingWithoutFolder_data();
    void nothingWithoutFolder();
};

void tst_SessionLock::oneHolderPerBus()
{
    const QTemporaryDir runtime;
    auto running = std::make_unique<SessionLock>(runtime.path(), "unix:path=/run/bus-a");
    QVERIFY(running->isHeld());
    // A second launch on that bus must ask the bus; one on another bus runs on its own.
    QVERIFY(!SessionLock(runtime.path(), "unix:path=/run/bus-a").isHeld());
    QVERIFY(SessionLock(runtime.path(), "unix:path=/run/bus-b").isHeld());
    // The running program ended: the next launch knows at once.
    running.reset();
    QVERIFY(SessionLock(runtime.path(), "unix:path=/run/bus-a").isHeld());
}

void tst_SessionLock::nothingWithoutFolder_data()
{
    QTest::addColumn<QString>("directory");
    QTest::newRow("no runtime folder") << QString();
    QTest::newRow("missing folder") << QStringLiteral("/nonexistent/tarvik-runtime");
    QTest::newRow("read-only folder") << QStringLiteral("/proc");
}

void tst_SessionLock::nothingWithoutFolder()
{
    QFETCH(QString, directory);
    // Not held: the launch asks the bus, as it always could.
    QVERIFY(!SessionLock(directory, "unix:path=/run/bus-a").isHeld());
}

QTEST_GUILESS_MAIN(tst_SessionLock)
#include "tst_sessionlock.moc"
