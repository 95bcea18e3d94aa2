// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopPlatform.h"
#include "TrayHostWatcher.h"
#include "TrayHostWatcherDBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

// The StatusNotifierItem side against a private bus run by dbus-daemon; the X11 side runs
// end to end under Xvfb with trayer (tests/e2e/main_window.sh, tests/e2e/tray.sh).
class tst_TrayHostWatcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void followsTheStatusNotifierWatcher();
    void hostsAnnouncedByTheWatcher();
    void silentWithoutABus();
    void x11ScreenOfDisplayName_data();
    void x11ScreenOfDisplayName();

private:
    QDBusConnection bus(const QString &name) const;

    QProcess m_daemon;
    QString m_address;
};

void tst_TrayHostWatcher::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
    QVERIFY(m_daemon.waitForStarted());
    QTRY_VERIFY(m_daemon.canReadLine());
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
}

void tst_TrayHostWatcher::cleanupTestCase()
{
    for (const QString &name : {QStringLiteral("program"), QStringLiteral("desktop")})
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

QDBusConnection tst_TrayHostWatcher::bus(const QString &name) const
{
    return QDBusConnection::connectToBus(m_address, name);
}

// The watcher service appears (a tray host started), goes (it ended) and comes back.
void tst_TrayHostWatcher::followsTheStatusNotifierWatcher()
{
    QDBusConnection program = bus(QStringLiteral("program"));
    QDBusConnection desktop = bus(QStringLiteral("desktop"));
    QVERIFY(program.isConnected() && desktop.isConnected());
    TrayHostWatcherDBus watcher(nullptr, program);
    QVERIFY(watcher.isWatching());
    QSignalSpy changed(&watcher, &TrayHostWatcher::changed);

    const QString service = QStringLiteral("org.kde.StatusNotifierWatcher");
    QVERIFY(desktop.registerService(service));
    QTRY_COMPARE(changed.count(), 1);
    QVERIFY(desktop.unregisterService(service));
    QTRY_COMPARE(changed.count(), 2);
    QVERIFY(desktop.registerService(service));
    QTRY_COMPARE(changed.count(), 3);
    // Another name on the bus is none of its business.
    QVERIFY(desktop.registerService(QStringLiteral("org.example.Unrelated")));
    QVERIFY(desktop.unregisterService(service));
    QTRY_COMPARE(changed.count(), 4);
    QTest::qWait(50);
    QCOMPARE(changed.count(), 4);
    QVERIFY(desktop.unregisterService(QStringLiteral("org.example.Unrelated")));
}

// A host (swaybar's tray, a panel) registers with a watcher that was already there.
void tst_TrayHostWatcher::hostsAnnouncedByTheWatcher()
{
    QDBusConnection program = bus(QStringLiteral("program"));
    QDBusConnection desktop = bus(QStringLiteral("desktop"));
    const QString service = QStringLiteral("org.kde.StatusNotifierWatcher");
    QVERIFY(desktop.registerService(service));
    TrayHostWatcherDBus watcher(nullptr, program);
    QSignalSpy changed(&watcher, &TrayHostWatcher::changed);
    for (const QString &name : {QStringLiteral("StatusNotifierHostRegistered"),
                                QStringLiteral("StatusNotifierHostUnregistered")}) {
        const int before = int(changed.count());
        QVERIFY(desktop.send(
            QDBusMessage::createSignal(QStringLiteral("/StatusNotifierWatcher"), service, name)));
        QTRY_COMPARE(changed.count(), before + 1);
    }
    // The same signal from elsewhere on the bus is not the watcher's.
    QVERIFY(desktop.unregisterService(service));
    QTRY_COMPARE(changed.count(), 3);
    QDBusConnection other = bus(QStringLiteral("other"));
    QVERIFY(other.send(QDBusMessage::createSignal(QStringLiteral("/StatusNotifierWatcher"), service,
                                                  QStringLiteral("StatusNotifierHostRegistered"))));
    QTest::qWait(50);
    QCOMPARE(changed.count(), 3);
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
}

void tst_TrayHostWatcher::silentWithoutABus()
{
    const QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/tarvik-bus"), QStringLiteral("none"));
    TrayHostWatcherDBus watcher(nullptr, none);
    QVERIFY(!watcher.isWatching());
    QDBusConnection::disconnectFromBus(QStringLiteral("none"));
    // Off X11 the selection watcher is the bus watcher.
    std::unique_ptr<TrayHostWatcher> made(
        TrayHostWatcher::create(TrayHostWatcher::Kind::X11Selection, nullptr));
    QVERIFY(qobject_cast<TrayHostWatcherDBus *>(made.get()));
}

void tst_TrayHostWatcher::x11ScreenOfDisplayName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("screen");
    QTest::newRow("local") << QByteArray(":0") << 0;
    QTest::newRow("local screen") << QByteArray(":1.2") << 2;
    QTest::newRow("host") << QByteArray("example.org:10.1") << 1;
    QTest::newRow("host without screen") << QByteArray("example.org:10") << 0;
    QTest::newRow("IPv6 host") << QByteArray("::1:0.3") << 3;
    QTest::newRow("dotted host") << QByteArray("10.0.0.1:0") << 0;
    QTest::newRow("garbage screen") << QByteArray(":0.x") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void tst_TrayHostWatcher::x11ScreenOfDisplayName()
{
    QFETCH(QByteArray, name);
    QFETCH(int, screen);
    QCOMPARE(DesktopPlatform::x11ScreenOfDisplayName(name), screen);
}

QTEST_MAIN(tst_TrayHostWatcher)
#include "tst_trayhostwatcher.moc"
