// SPDX-License-Identifier: GPL-3.0-or-later
#include "HttpRequestParser.h"
#include "PeerRules.h"
#include "RemoteApi.h"
#include "RemoteLimits.h"
#include "RemoteToken.h"
#include "TokenThrottle.h"

#include <QHostAddress>
#include <QTest>

using namespace std::chrono_literals;

// The remote's rules without sockets: what a request is, what it is answered, who is.
class tst_RemoteRules : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void route_data();
    void route();
    void messages_data();
    void messages();
    void peers_data();
    void peers();
    void tokens();
    void throttle();
};

namespace {

const QByteArray token = "00112233445566778899aabbccddeeff";

QByteArray post(const QByteArray &target, const QByteArray &body = {},
                const QByteArray &auth = "Bearer " + token)
{
    QByteArray request = "POST " + target + " HTTP/1.1\r\nHost: h\r\n";
    if (!auth.isEmpty())
        request += "Authorization: " + auth + "\r\n";
    return request + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

void tst_RemoteRules::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status"); // 0 complete, -1 incomplete
    const QByteArray big(RemoteLimits::maxPart + 1, 'a');
    QTest::newRow("simple") << QByteArray("GET /view HTTP/1.1\r\nHost: a\r\n\r\n") << 0;
    QTest::newRow("no headers, 1.0") << QByteArray("GET / HTTP/1.0\r\n\r\n") << 0;
    QTest::newRow("half a line") << QByteArray("GET /vi") << -1;
    QTest::newRow("no empty line yet") << QByteArray("GET / HTTP/1.1\r\nHost: a\r\n") << -1;
    QTest::newRow("body still coming")
        << QByteArray("POST /api/end HTTP/1.1\r\nContent-Length: 5\r\n\r\nab") << -1;
    QTest::newRow("long line, unfinished") << "GET /" + big << 414;
    QTest::newRow("long headers, unfinished") << "GET / HTTP/1.1\r\nX: " + big << 431;
    QTest::newRow("body too large")
        << QByteArray("POST / HTTP/1.1\r\nContent-Length: 8193\r\n\r\n") << 413;
    QTest::newRow("chunked") << QByteArray("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n")
                             << 501;
    QTest::newRow("two lengths")
        << QByteArray("POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab") << 400;
    QTest::newRow("signed length")
        << QByteArray("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n") << 400;
    QTest::newRow("folded header") << QByteArray("GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n") << 400;
    QTest::newRow("space before colon") << QByteArray("GET / HTTP/1.1\r\nA : b\r\n\r\n") << 400;
    QTest::newRow("control in value") << QByteArray("GET / HTTP/1.1\r\nA: b\x01\r\n\r\n") << 400;
    QTest::newRow("absolute target") << QByteArray("GET http://a/ HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("extra space") << QByteArray("GET  / HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("version 2") << QByteArray("GET / HTTP/2.0\r\n\r\n") << 505;
    QTest::newRow("not http") << QByteArray("\x16\x03\x01 / x\r\n\r\n") << 400;
}

void tst_RemoteRules::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    const auto result = HttpRequestParser::parse(bytes);
    using Kind = HttpRequestParser::Result::Kind;
    if (status == 0) {
        QCOMPARE(result.kind, Kind::Complete);
        QCOMPARE(result.consumed, bytes.size());
    } else if (status < 0) {
        QCOMPARE(result.kind, Kind::Incomplete);
    } else {
        QCOMPARE(result.kind, Kind::Bad);
        QCOMPARE(result.status, status);
    }
}

void tst_RemoteRules::route_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status"); // 200 for a route that is not an error
    QTest::addColumn<bool>("wrongToken");
    QTest::addColumn<int>("seconds");
    const auto get = [](const QByteArray &target) {
        return "GET " + target + " HTTP/1.1\r\n\r\n";
    };
    QTest::newRow("view") << get("/view") << 200 << false << 0;
    QTest::newRow("state") << get("/api/state") << 200 << false << 0;
    QTest::newRow("unknown page") << get("/etc/passwd") << 404 << false << 0;
    QTest::newRow("control, no token") << get("/control") << 401 << false << 0;
    QTest::newRow("control, wrong token") << get("/control?t=00") << 403 << true << 0;
    QTest::newRow("control, token") << get("/control?t=" + token) << 200 << false << 0;
    QTest::newRow("command by GET") << get("/api/pause") << 405 << false << 0;
    QTest::newRow("view by POST") << post("/view") << 405 << false << 0;
    QTest::newRow("no authorization") << post("/api/pause", {}, {}) << 401 << false << 0;
    QTest::newRow("wrong bearer") << post("/api/pause", {}, "Bearer 00") << 403 << true << 0;
    QTest::newRow("token not bearer")
        << post("/api/pause", {}, "Basic " + token) << 403 << true << 0;
    QTest::newRow("unknown command") << post("/api/reboot") << 404 << false << 0;
    QTest::newRow("start, saved") << post("/api/start") << 200 << false << -1;
    QTest::newRow("start, query") << post("/api/start?seconds=300") << 200 << false << 300;
    QTest::newRow("start, JSON") << post("/api/start", R"({"seconds":90})") << 200 << false << 90;
    QTest::newRow("start, body wins")
        << post("/api/start?seconds=1", R"({"seconds":2})") << 200 << false << 2;
    QTest::newRow("start, negative") << post("/api/start?seconds=-5") << 400 << false << 0;
    QTest::newRow("start, huge") << post("/api/start", R"({"seconds":1e300})") << 400 << false << 0;
    QTest::newRow("start, fraction")
        << post("/api/start", R"({"seconds":1.5})") << 400 << false << 0;
    QTest::newRow("start, text") << post("/api/start?seconds=five") << 400 << false << 0;
    QTest::newRow("start, 100 hours") << post("/api/start?seconds=360000") << 400 << false << 0;
    QTest::newRow("add, negative") << post("/api/add?seconds=-60") << 200 << false << -60;
    QTest::newRow("add, no seconds") << post("/api/add") << 400 << false << 0;
    QTest::newRow("malformed JSON") << post("/api/start", "{") << 400 << false << 0;
    QTest::newRow("JSON array") << post("/api/start", "[1]") << 400 << false << 0;
    QTest::newRow("body not UTF-8")
        << post("/api/message", "{\"text\":\"\xff\"}") << 400 << false << 0;
    QTest::newRow("query not UTF-8") << post("/api/message?text=%C3%28") << 400 << false << 0;
    QTest::newRow("message too long")
        << post("/api/message?text=" + QByteArray(201, 'a')) << 400 << false << 0;
    QTest::newRow("mode unknown") << post("/api/mode?mode=max") << 400 << false << 0;
    QTest::newRow("ws, view")
        << QByteArray("GET /ws HTTP/1.1\r\nHost: h:1\r\nUpgrade: websocket\r\nConnection: "
                      "Upgrade\r\nOrigin: http://h:1\r\n\r\n")
        << 200 << false << 0;
    QTest::newRow("ws, other origin")
        << QByteArray("GET /ws HTTP/1.1\r\nHost: h:1\r\nUpgrade: websocket\r\nConnection: "
                      "Upgrade\r\nOrigin: http://evil:1\r\n\r\n")
        << 403 << false << 0;
    QTest::newRow("ws, wrong token") << QByteArray("GET /ws?t=1 HTTP/1.1\r\nHost: h\r\nUpgrade: "
                                                   "websocket\r\nConnection: Upgrade\r\n\r\n")
                                     << 403 << true << 0;
    QTest::newRow("ws, no upgrade") << get("/ws") << 426 << false << 0;
}

void tst_RemoteRules::route()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(bool, wrongToken);
    QFETCH(int, seconds);
    const auto parsed = HttpRequestParser::parse(bytes);
    QCOMPARE(parsed.kind, HttpRequestParser::Result::Kind::Complete);
    const auto route = RemoteApi::route(parsed.request, token);
    QCOMPARE(route.kind == RemoteApi::Route::Kind::Error ? route.status : 200, status);
    QCOMPARE(route.wrongToken, wrongToken);
    if (route.kind == RemoteApi::Route::Kind::Command && seconds != 0) {
        QCOMPARE(route.command.hasSeconds, seconds != -1);
        if (seconds != -1)
            QCOMPARE(route.command.seconds, seconds);
    }
}

void tst_RemoteRules::messages_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("text");
    QTest::newRow("pause") << QByteArray(R"({"cmd":"pause"})") << true << "";
    QTest::newRow("message, controls become spaces")
        << QByteArray(R"({"cmd":"message","text":" a\nb\u0007 "})") << true << "a b";
    QTest::newRow("unknown command") << QByteArray(R"({"cmd":"shutdown"})") << false << "";
    QTest::newRow("no command") << QByteArray(R"({"seconds":1})") << false << "";
    QTest::newRow("not JSON") << QByteArray("pause") << false << "";
    QTest::newRow("not UTF-8") << QByteArray("{\"cmd\":\"message\",\"text\":\"\xc3\"}") << false
                               << "";
    QTest::newRow("add, string seconds")
        << QByteArray(R"({"cmd":"add","seconds":"60"})") << true << "";
    QTest::newRow("add, too many")
        << QByteArray(R"({"cmd":"add","seconds":9999999999})") << false << "";
}

void tst_RemoteRules::messages()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, valid);
    QFETCH(QString, text);
    const auto command = RemoteApi::commandFromMessage(message);
    QCOMPARE(command.has_value(), valid);
    if (command)
        QCOMPARE(command->text, text);
}

void tst_RemoteRules::peers_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("local");
    QTest::newRow("loopback") << "127.0.0.1" << true;
    QTest::newRow("loopback, other") << "127.200.0.9" << true;
    QTest::newRow("10/8") << "10.1.2.3" << true;
    QTest::newRow("172.16/12") << "172.31.255.1" << true;
    QTest::newRow("172.32 is public") << "172.32.0.1" << false;
    QTest::newRow("192.168/16") << "192.168.1.20" << true;
    QTest::newRow("link-local") << "169.254.3.4" << true;
    QTest::newRow("public v4") << "8.8.8.8" << false;
    QTest::newRow("CGNAT is not local") << "100.64.0.1" << false;
    QTest::newRow("mapped private") << "::ffff:192.168.0.5" << true;
    QTest::newRow("mapped public") << "::ffff:1.1.1.1" << false;
    QTest::newRow("::1") << "::1" << true;
    QTest::newRow("ULA") << "fd12:3456::1" << true;
    QTest::newRow("fe80") << "fe80::1" << true;
    QTest::newRow("global v6") << "2001:db8::1" << false;
    QTest::newRow("unspecified") << "0.0.0.0" << false;
}

void tst_RemoteRules::peers()
{
    QFETCH(QString, address);
    QFETCH(bool, local);
    QCOMPARE(PeerRules::isLocalNetwork(QHostAddress(address)), local);
}

void tst_RemoteRules::tokens()
{
    const QByteArray a = RemoteToken::generate();
    QCOMPARE(a.size(), 32);
    QVERIFY(a != RemoteToken::generate());
    QVERIFY(RemoteToken::equals(a, a));
    QVERIFY(!RemoteToken::equals(a, a.first(31)));
    QVERIFY(!RemoteToken::equals(a, a + 'x'));
    QVERIFY(!RemoteToken::equals(a, {}));
    QVERIFY(!RemoteToken::equals({}, {}));
}

void tst_RemoteRules::throttle()
{
    std::chrono::nanoseconds now{1s};
    TokenThrottle throttle([&now] { return now; });
    const QHostAddress guesser(QStringLiteral("192.168.1.9"));
    const QHostAddress other(QStringLiteral("192.168.1.10"));
    for (int i = 0; i < RemoteLimits::maxWrongTokens - 1; ++i)
        throttle.recordWrongToken(guesser);
    QVERIFY(!throttle.isRefused(guesser));
    throttle.recordWrongToken(guesser);
    QVERIFY(throttle.isRefused(guesser));
    QVERIFY(!throttle.isRefused(other));
    now += RemoteLimits::refusal - 1ms;
    QVERIFY(throttle.isRefused(guesser));
    now += 1ms;
    QVERIFY(!throttle.isRefused(guesser));
    throttle.recordWrongToken(guesser); // a fresh count after the refusal
    QVERIFY(!throttle.isRefused(guesser));
}

QTEST_GUILESS_MAIN(tst_RemoteRules)
#include "tst_remoterules.moc"
