// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenAwake.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

// The desktop's side of keeping the screen on, served on a private bus: the screen-saver
// service, and the portal's Inhibit with the request it returns.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList calls;

public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        calls.append(QStringLiteral("Inhibit %1 %2").arg(application, reason));
        return 42;
    }
    void UnInhibit(uint cookie) { calls.append(QStringLiteral("UnInhibit %1").arg(cookie)); }
};

class FakeRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    explicit FakeRequest(QStringList &calls)
        : m_calls(calls)
    {}

public slots:
    void Close() { m_calls.append(QStringLiteral("Close")); }

private:
    QStringList &m_calls;
};

class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    QStringList calls;
    FakeRequest request{calls};

public slots:
    QDBusObjectPath Inhibit(const QString &window, uint flags, const QVariantMap &options)
    {
        calls.append(QStringLiteral("Inhibit '%1' %2 %3")
                         .arg(window)
                         .arg(flags)
                         .arg(options.value(QStringLiteral("reason")).toString()));
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1"));
    }
};

class tst_ScreenAwake : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void x11UsesTheScreenSaverServiceWhereOneIsThere();
    void elsewhereThePortalWithoutASurface();
    void aReleaseBeforeTheAnswerIsStillGivenBack();

private:
    QProcess m_daemon;
    QDBusConnection desktop() const { return QDBusConnection(QStringLiteral("desktop")); }
};

void tst_ScreenAwake::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
    QVERIFY(m_daemon.waitForStarted());
    QTRY_VERIFY(m_daemon.canReadLine());
    const QByteArray address = m_daemon.readLine().trimmed();
    // The program's session bus is this one.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    QVERIFY(QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("desktop"))
                .isConnected());
}

void tst_ScreenAwake::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

void tst_ScreenAwake::x11UsesTheScreenSaverServiceWhereOneIsThere()
{
    FakeScreenSaver service;
    QVERIFY(desktop().registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &service,
                                     QDBusConnection::ExportAllSlots));
    QVERIFY(desktop().registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    QWidget window;
    ScreenAwake awake(&window, nullptr, ScreenAwake::DisplayServer::X11);
    awake.setHeld(true);
    awake.setHeld(true); // held once
    QTRY_COMPARE(service.calls.size(), 1);
    QVERIFY(service.calls.first().startsWith(QStringLiteral("Inhibit ")));
    awake.setHeld(false);
    QTRY_COMPARE(service.calls.size(), 2);
    QCOMPARE(service.calls.last(), QStringLiteral("UnInhibit 42"));
    desktop().unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
    desktop().unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
}

void tst_ScreenAwake::elsewhereThePortalWithoutASurface()
{
    FakePortal portal;
    QVERIFY(desktop().registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                     QDBusConnection::ExportAllSlots));
    QVERIFY(desktop().registerObject(QStringLiteral("/org/freedesktop/portal/desktop/request/1"),
                                     &portal.request, QDBusConnection::ExportAllSlots));
    QVERIFY(desktop().registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    {
        // Never shown: no surface to put an inhibitor on.
        QWidget window;
        ScreenAwake awake(&window, nullptr, ScreenAwake::DisplayServer::Wayland);
        awake.setHeld(true);
        // 8: idleness.
        QTRY_COMPARE(portal.calls, QStringList{QStringLiteral("Inhibit '' 8 计时进行中")});
        awake.setHeld(false);
        QTRY_COMPARE(portal.calls.size(), 2);
        QCOMPARE(portal.calls.last(), QStringLiteral("Close"));
        // Held when the program ends: given back as it goes.
        awake.setHeld(true);
        QTRY_COMPARE(portal.calls.size(), 3);
    }
    QTRY_COMPARE(portal.calls.size(), 4);
    QCOMPARE(portal.calls.last(), QStringLiteral("Close"));
    desktop().unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    desktop().unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                               QDBusConnection::UnregisterTree);
}

void tst_ScreenAwake::aReleaseBeforeTheAnswerIsStillGivenBack()
{
    FakePortal portal;
    QVERIFY(desktop().registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                     QDBusConnection::ExportAllSlots));
    QVERIFY(desktop().registerObject(QStringLiteral("/org/freedesktop/portal/desktop/request/1"),
                                     &portal.request, QDBusConnection::ExportAllSlots));
    QVERIFY(desktop().registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    QWidget window;
    ScreenAwake awake(&window, nullptr, ScreenAwake::DisplayServer::Wayland);
    // Held and released before the portal could answer: it is closed when the answer comes.
    awake.setHeld(true);
    awake.setHeld(false);
    QTRY_COMPARE(portal.calls.size(), 2);
    QCOMPARE(portal.calls.last(), QStringLiteral("Close"));
    desktop().unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    desktop().unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                               QDBusConnection::UnregisterTree);
}

QTEST_MAIN(tst_ScreenAwake)
#include "tst_screenawake.moc"
