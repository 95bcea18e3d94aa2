// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteControl.h"
#include "RemoteModule.h"
#include "RemoteNetwork.h"
#include "TimerCore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <QWebSocket>

// The server on its thread with a real core, on the loopback address only: commands reach
// the core and its ticks reach the WebSocket clients.
class tst_RemoteServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void commandsReachTheCore();
    void ticksReachTheWebSocket();
    void aNewTokenEndsTheOldOne();
    void aModuleThatCannotLoadIsNamed();

private:
    // One HTTP request; the status of the answer, 0 for none.
    int request(const QByteArray &request);
    QByteArray token() const
    {
        return QUrlQuery(QUrl(m_remote->controlUrl()))
            .queryItemValue(QStringLiteral("t"))
            .toLatin1();
    }
    QByteArray post(const QByteArray &target, const QByteArray &token)
    {
        return "POST " + target + " HTTP/1.1\r\nAuthorization: Bearer " + token + "\r\n\r\n";
    }

    RemoteNetwork m_network;
    std::unique_ptr<TimerCore> m_core;
    std::unique_ptr<RemoteControl> m_remote;
};

void tst_RemoteServer::init()
{
    m_core = std::make_unique<TimerCore>();
    m_remote = std::make_unique<RemoteControl>(m_core.get());
    m_remote->setServices(&m_network);
    m_remote->setListenAddress(QStringLiteral("127.0.0.1"));
    QSignalSpy links(m_remote.get(), &RemoteControl::linksChanged);
    m_remote->start(0);
    QVERIFY(links.wait());
    QVERIFY(m_remote->viewUrl().startsWith(QStringLiteral("http://127.0.0.1:")));
}

void tst_RemoteServer::cleanup()
{
    m_remote.reset();
    m_core.reset();
}

int tst_RemoteServer::request(const QByteArray &bytes)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, QUrl(m_remote->viewUrl()).port());
    if (!socket.waitForConnected(5000))
        return 0;
    socket.write(bytes);
    // The event loop runs while waiting: the command is carried out on this thread.
    QByteArray answer;
    const bool closed = QTest::qWaitFor(
        [&] {
            answer += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        5000);
    answer += socket.readAll();
    if (!closed)
        return 0;
    return answer.startsWith("HTTP/1.1 ") ? answer.mid(9, 3).toInt() : 0;
}

void tst_RemoteServer::commandsReachTheCore()
{
    QCOMPARE(request(post("/api/pause", token())), 409);
    QCOMPARE(request(post("/api/start?seconds=60", token())), 200);
    QCOMPARE(m_core->state(), CountdownState::Running);
    QCOMPARE(m_core->total(), 60);
    QCOMPARE(request(post("/api/add?seconds=60", token())), 200);
    QCOMPARE(m_core->total(), 120);
    // One character changed: a token that begins with 0 must not come out the same.
    const QByteArray wrong = (token().startsWith('0') ? "1" : "0") + token().mid(1);
    QCOMPARE(request(post("/api/end", wrong)), 403);
    QCOMPARE(m_core->state(), CountdownState::Running);
    QCOMPARE(request(post("/api/end", token())), 200);
    QCOMPARE(m_core->state(), CountdownState::Idle);
}

void tst_RemoteServer::ticksReachTheWebSocket()
{
    QWebSocket client;
    QStringList received;
    connect(&client, &QWebSocket::textMessageReceived, this,
            [&received](const QString &message) { received.append(message); });
    QUrl url(m_remote->viewUrl());
    url.setScheme(QStringLiteral("ws"));
    url.setPath(QStringLiteral("/ws"));
    client.open(url);
    QTRY_VERIFY(!received.isEmpty()); // the state at once
    QVERIFY(m_core->startFor(30));
    QTRY_VERIFY_WITH_TIMEOUT(received.last().contains(QLatin1String("\"display\":\"00:00:29\"")),
                             5000);
    const auto state = QJsonDocument::fromJson(received.last().toUtf8()).object();
    QCOMPARE(state.value(u"state").toString(), QStringLiteral("running"));
    QVERIFY(state.contains(u"next"));
    // A view socket may not command.
    client.sendTextMessage(QStringLiteral(R"({"cmd":"pause"})"));
    QTRY_VERIFY(received.last() == QLatin1String(R"({"status":401})"));
    QCOMPARE(m_core->state(), CountdownState::Running);
}

void tst_RemoteServer::aNewTokenEndsTheOldOne()
{
    const QByteArray old = token();
    m_remote->renewToken();
    QVERIFY(token() != old);
    QCOMPARE(request(post("/api/start", old)), 403);
    QCOMPARE(request(post("/api/start", token())), 200);
}

void tst_RemoteServer::aModuleThatCannotLoadIsNamed()
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("libtarvik-remote.so"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    const QString missing = dir.filePath(QStringLiteral("none/libtarvik-remote.so"));
    for (const QStringList &paths : {QStringList{missing}, QStringList{missing, broken}}) {
        const auto loaded = RemoteModule::load(paths);
        QVERIFY(!loaded.services);
        QVERIFY2(loaded.error.contains(paths.last()), qPrintable(loaded.error));
    }
}

QTEST_GUILESS_MAIN(tst_RemoteServer)
#include "tst_remoteserver.moc"
