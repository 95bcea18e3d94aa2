// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The command line as a table: what each argument list asks of the timer (the calls made on
// the bus interface), or the one line of its error.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void everyOptionDocumented_data();
    void everyOptionDocumented();

private:
    static QString text(const QString &path);
};

namespace {

const QString forms = QStringLiteral("use 90, 90s, 25m, 1h30m, 1h30m15s, 1:30 (m:ss) or 1:30:00 "
                                     "(h:mm:ss), from 1 second to 2147483647 seconds");

QString badDuration(const char *value)
{
    return QStringLiteral("invalid duration \"%1\": %2").arg(QLatin1String(value), forms);
}

// The calls as one line: Start(300) SetDisplay(hidden); "status" for a status request,
// "links" after the calls of a --remote-url.
QString rendered(const Request &request)
{
    QStringList calls;
    if (request.command == Request::Command::Status)
        calls.append(QStringLiteral("status"));
    for (const Request::Call &call : request.calls()) {
        QStringList arguments;
        for (const QVariant &argument : call.arguments)
            arguments.append(argument.toString());
        calls.append(call.method + QLatin1Char('(') + arguments.join(u',') + QLatin1Char(')'));
    }
    if (request.command == Request::Command::RemoteUrl)
        calls.append(QStringLiteral("links"));
    return calls.join(u' ');
}

} // namespace

QString tst_CommandLine::text(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void tst_CommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("calls"); // empty for an error
    QTest::addColumn<QString>("error");

    const auto run = [](const char *name, QStringList arguments, const char *calls) {
        QTest::newRow(name) << arguments << QString::fromUtf8(calls) << QString();
    };
    const auto bad = [](const char *name, QStringList arguments, const QString &error) {
        QTest::newRow(name) << arguments << QString() << error;
    };

    // Durations
    run("seconds", {"90"}, "Start(90)");
    run("seconds unit", {"90s"}, "Start(90)");
    run("minutes", {"25m"}, "Start(1500)");
    run("hours minutes", {"1h30m"}, "Start(5400)");
    run("hours minutes seconds", {"1h30m15s"}, "Start(5415)");
    run("hours seconds", {"2h5s"}, "Start(7205)");
    run("minutes over sixty", {"90m"}, "Start(5400)");
    run("m:ss", {"1:30"}, "Start(90)");
    run("h:mm:ss", {"1:30:00"}, "Start(5400)");
    run("long m:ss", {"120:00"}, "Start(7200)");
    run("largest", {"2147483647"}, "Start(2147483647)");
    run("largest in units", {"596523h14m7s"}, "Start(2147483647)");
    bad("letters", {"12x"}, badDuration("12x"));
    bad("negative", {"-5m"}, badDuration("-5m"));
    bad("negative number", {"-90"}, badDuration("-90"));
    bad("zero", {"0"}, badDuration("0"));
    bad("zero in units", {"0h0m"}, badDuration("0h0m"));
    bad("zero m:ss", {"0:00"}, badDuration("0:00"));
    bad("seconds over 59", {"1:75"}, badDuration("1:75"));
    bad("minutes over 59", {"1:60:00"}, badDuration("1:60:00"));
    bad("one seconds digit", {"1:5"}, badDuration("1:5"));
    bad("four fields", {"1:00:00:00"}, badDuration("1:00:00:00"));
    bad("over the limit", {"2147483648"}, badDuration("2147483648"));
    bad("over the limit in units", {"596523h14m8s"}, badDuration("596523h14m8s"));
    bad("many digits", {"99999999999999999999"}, badDuration("99999999999999999999"));
    bad("units out of order", {"30m1h"}, badDuration("30m1h"));
    bad("unit twice", {"1m1m"}, badDuration("1m1m"));
    bad("number without unit", {"1m30"}, badDuration("1m30"));
    bad("upper case", {"5M"}, badDuration("5M"));
    bad("empty", {""}, badDuration(""));
    bad("space", {" 5m"}, badDuration(" 5m"));
    bad("two durations", {"5m", "10m"},
        QStringLiteral("two durations \"5m\" and \"10m\": give one DURATION"));

    // Options
    run("no options", {}, "Present()");
    run("start saved", {"--start"}, "Start(0)");
    run("start duration", {"--start", "5m"}, "Start(300)");
    run("until", {"--until", "07:30"}, "StartUntil(07:30)");
    run("until one hour digit", {"--until=7:05"}, "StartUntil(07:05)");
    run("until midnight", {"--until", "00:00"}, "StartUntil(00:00)");
    run("pause", {"--pause"}, "Pause()");
    run("resume", {"--resume"}, "Resume()");
    run("end", {"--end"}, "End()");
    run("quit", {"--quit"}, "Quit()");
    run("status", {"--status"}, "status");
    run("remote on for the run", {"--remote"}, "EnableRemote()");
    run("remote with a start", {"--remote", "5m"}, "EnableRemote() Start(300)");
    run("remote links", {"--remote-url"}, "links");
    run("remote on, then its links", {"--remote-url", "--remote"}, "EnableRemote() links");
    run("full screen", {"--full-screen"}, "SetDisplay(full-screen)");
    run("window", {"--window"}, "SetDisplay(window)");
    run("hide", {"--hide"}, "SetDisplay(hidden)");
    run("hide twice", {"--hide", "--hide"}, "SetDisplay(hidden)");
    run("monitor means full screen", {"--monitor", "2"}, "SetMonitor(2) SetDisplay(full-screen)");
    run("monitor for later", {"--monitor", "0", "--window"}, "SetMonitor(0) SetDisplay(window)");
    run("start first, then display", {"--full-screen", "25m"},
        "Start(1500) SetDisplay(full-screen)");
    run("after --", {"--", "5m"}, "Start(300)");
    bad("until 25:00", {"--until", "25:00"},
        "invalid time \"25:00\" for --until: use HH:MM, from 00:00 to 23:59");
    bad("until minutes", {"--until", "10:60"},
        "invalid time \"10:60\" for --until: use HH:MM, from 00:00 to 23:59");
    bad("until seconds", {"--until", "10:00:00"},
        "invalid time \"10:00:00\" for --until: use HH:MM, from 00:00 to 23:59");
    bad("until without value", {"--until"}, "Missing value after '--until'.");
    bad("monitor abc", {"--monitor", "abc"},
        "invalid monitor \"abc\" for --monitor: use 0 (the monitor the window is on) or a "
        "monitor number 1, 2, …");
    bad("monitor negative", {"--monitor", "-1"},
        "invalid monitor \"-1\" for --monitor: use 0 (the monitor the window is on) or a "
        "monitor number 1, 2, …");
    bad("monitor twice", {"--monitor", "1", "--monitor", "2"},
        "--monitor given twice (\"1\" and \"2\"): give it once");
    bad("pause and resume", {"--pause", "--resume"},
        "--pause and --resume cannot be combined: give one of DURATION or --start, --until, "
        "--pause, --resume, --end, --status, --remote-url, --quit");
    bad("until and duration", {"--until", "10:00", "5m"},
        "--until and \"5m\" cannot be combined: give one of DURATION or --start, --until, "
        "--pause, --resume, --end, --status, --remote-url, --quit");
    bad("two display modes", {"--full-screen", "--hide"},
        "--full-screen and --hide cannot be combined: give one of --full-screen, --window, --hide");
    bad("unknown option", {"--colour"}, "unknown option \"--colour\": see --help");
    bad("unknown short option", {"-x"}, "unknown option \"-x\": see --help");
}

void tst_CommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, calls);
    QFETCH(QString, error);

    arguments.prepend(QStringLiteral("tarvik-timer"));
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
    if (!error.isEmpty()) {
        QCOMPARE(parsed.outcome, CommandLine::Parsed::Outcome::Error);
        QCOMPARE(parsed.text, error);
        return;
    }
    QCOMPARE(parsed.outcome, CommandLine::Parsed::Outcome::Run);
    QCOMPARE(rendered(parsed.request), calls);
    // Every call is a method of the interface the running program serves.
    const QString introspection = text(QStringLiteral(TIMER1_XML));
    for (const Request::Call &call : parsed.request.calls())
        QVERIFY2(introspection.contains(QStringLiteral("<method name=\"%1\"").arg(call.method)),
                 qPrintable(call.method));
}

void tst_CommandLine::everyOptionDocumented_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("man page") << QStringLiteral(MAN_PAGE);
    QTest::newRow("bash completion") << QStringLiteral(BASH_COMPLETION);
}

void tst_CommandLine::everyOptionDocumented()
{
    QFETCH(QString, path);
    const QString document = text(path);
    QVERIFY2(!document.isEmpty(), qPrintable(path));
    // The man page escapes its dashes.
    const QString plain = QString(document).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    for (const QString &option : CommandLine::optionNames()) {
        const QRegularExpression word(QRegularExpression::escape(option) + QStringLiteral("\\b"));
        QVERIFY2(plain.contains(word), qPrintable(option));
    }
    // And the help lists them too.
    const CommandLine::Parsed help =
        CommandLine::parse({QStringLiteral("tarvik-timer"), QStringLiteral("--help")});
    QCOMPARE(help.outcome, CommandLine::Parsed::Outcome::Help);
    for (const QString &option : CommandLine::optionNames())
        QVERIFY2(help.text.contains(option), qPrintable(option));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
