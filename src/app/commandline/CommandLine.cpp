// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "ArgumentRules.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#include <functional>
#include <vector>

namespace {

using Command = Request::Command;

// What parsing has gathered so far: the request, and which argument chose its countdown
// command and display mode (for the message when a second one comes).
struct Gathered
{
    Request request;
    QString commandSource;
    QString displaySource;
};

// Applies an option (its value, if it takes one) to what has been gathered; returns the error
// line, or nothing.
using Apply = std::function<QString(Gathered &, const QString &value)>;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString setCommand(Gathered &gathered, Command command, const QString &source)
{
    Request &request = gathered.request;
    // DURATION and --start name the same command.
    if (request.command != Command::None &&
        !(request.command == Command::Start && command == Command::Start)) {
        return QStringLiteral("%1 and %2 cannot be combined: give one of DURATION or --start, "
                              "--until, --pause, --resume, --end, --status, --remote-url, --quit")
            .arg(gathered.commandSource, source);
    }
    if (request.command == Command::None)
        gathered.commandSource = source;
    request.command = command;
    return {};
}

QString setDisplay(Gathered &gathered, DisplayMode mode, const QString &source)
{
    if (gathered.request.display && *gathered.request.display != mode) {
        return QStringLiteral("%1 and %2 cannot be combined: give one of --full-screen, --window, "
                              "--hide")
            .arg(gathered.displaySource, source);
    }
    gathered.request.display = mode;
    gathered.displaySource = source;
    return {};
}

Apply command(Command command, const char *option)
{
    return [command, option](Gathered &gathered, const QString &) {
        return setCommand(gathered, command, QLatin1String(option));
    };
}

Apply display(DisplayMode mode, const char *option)
{
    return [mode, option](Gathered &gathered, const QString &) {
        return setDisplay(gathered, mode, QLatin1String(option));
    };
}

struct OptionRow
{
    QStringList names; // short names first, the long one last
    QString valueName; // empty for an option without a value
    QString description;
    Apply apply;
};

// The options in the order --help lists them. Help and version are answered before the others
// apply, so they have no Apply of their own.
const std::vector<OptionRow> &optionTable()
{
    static const std::vector<OptionRow> table{
        {{QStringLiteral("start")},
         {},
         QStringLiteral("Start a countdown: of DURATION if given, else of the saved duration "
                        "(the start command, as F4)."),
         command(Command::Start, "--start")},
        {{QStringLiteral("until")},
         QStringLiteral("HH:MM"),
         QStringLiteral("Start a countdown that ends at that time today (tomorrow if it has "
                        "passed)."),
         [](Gathered &gathered, const QString &value) {
             const auto time = ArgumentRules::clockTime(value);
             if (!time) {
                 return QStringLiteral("invalid time %1 for --until: use %2")
                     .arg(quoted(value), ArgumentRules::clockTimeForms());
             }
             gathered.request.until = *time;
             return setCommand(gathered, Command::StartUntil, QStringLiteral("--until"));
         }},
        {{QStringLiteral("pause")},
         {},
         QStringLiteral("Pause the countdown (F5)."),
         command(Command::Pause, "--pause")},
        {{QStringLiteral("resume")},
         {},
         QStringLiteral("Continue the paused countdown (F6)."),
         command(Command::Resume, "--resume")},
        {{QStringLiteral("end")},
         {},
         QStringLiteral("End the countdown (F7)."),
         command(Command::End, "--end")},
        {{QStringLiteral("full-screen")},
         {},
         QStringLiteral("Full screen (F10)."),
         display(DisplayMode::FullScreen, "--full-screen")},
        {{QStringLiteral("window")},
         {},
         QStringLiteral("Window display: framed and maximised (F8)."),
         display(DisplayMode::Window, "--window")},
        {{QStringLiteral("hide")},
         {},
         QStringLiteral("Hidden display (F9)."),
         display(DisplayMode::Hidden, "--hide")},
        {{QStringLiteral("monitor")},
         QStringLiteral("N"),
         QStringLiteral("Full screen on monitor N for this run, as the monitor setting: 0 the "
                        "monitor the window is on, 1 the first. With --window or --hide, where "
                        "full screen goes later."),
         [](Gathered &gathered, const QString &value) {
             const auto number = ArgumentRules::monitor(value);
             if (!number) {
                 return QStringLiteral("invalid monitor %1 for --monitor: use %2")
                     .arg(quoted(value), ArgumentRules::monitorForms());
             }
             gathered.request.monitor = *number;
             return QString();
         }},
        {{QStringLiteral("status")},
         {},
         QStringLiteral("Print the state and the display, as \"running 00:24:59\"; exit 3 when "
                        "no program runs."),
         command(Command::Status, "--status")},
        {{QStringLiteral("remote")},
         {},
         QStringLiteral("Turn the phone remote on for this run, as the remote setting does."),
         [](Gathered &gathered, const QString &) {
             gathered.request.remote = true;
             return QString();
         }},
        {{QStringLiteral("remote-url")},
         {},
         QStringLiteral("Print the phone remote's view link, then its control link, one a "
                        "line; exit 1 when the remote is off."),
         command(Command::RemoteUrl, "--remote-url")},
        {{QStringLiteral("quit")},
         {},
         QStringLiteral("End the running program (退出系统)."),
         command(Command::Quit, "--quit")},
        {{QStringLiteral("h"), QStringLiteral("help")},
         {},
         QStringLiteral("Show this help and exit."),
         {}},
        {{QStringLiteral("v"), QStringLiteral("version")},
         {},
         QStringLiteral("Show the version and exit."),
         {}},
    };
    return table;
}

const QString durationDescription = QStringLiteral(
    "A countdown of this length, this run only (the duration fields and config.dat keep the "
    "saved duration): 90, 90s, 25m, 1h30m, 1h30m15s, 1:30 (m:ss) or 1:30:00 (h:mm:ss).");

// The argument as given for an option name the parser did not know: "-5m", "--colour".
QString givenAs(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        const QString bare = argument.section(QLatin1Char('='), 0, 0);
        if (bare == QLatin1Char('-') + name || bare == QStringLiteral("--") + name)
            return bare;
    }
    return QLatin1Char('-') + name;
}

QString helpText(QCommandLineParser &parser)
{
    // The usage line names the program, not the path it was started by.
    QString text = parser.helpText();
    const qsizetype usageEnd = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(QStringLiteral("Usage: ")) && usageEnd > 0)
        text.replace(7, usageEnd - 7, QStringLiteral("tarvik-timer"));
    return text +
           QStringLiteral(
               "\nWhen the program runs already, a later launch hands it the options and exits;"
               "\nwithout options it brings the running window forward."
               "\nExit status: 0 done, 1 refused by the countdown's state, 2 bad input,"
               "\n3 no program running (--status, --pause, --resume, --end, --remote-url, "
               "--quit).\n");
}

} // namespace

namespace CommandLine {

Parsed parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tarvik倒计时计时器: a countdown timer in very "
                                                    "large digits, with an alarm sound."));
    // "-5m" is one (bad) argument, not the short options 5 and m.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addPositionalArgument(QStringLiteral("DURATION"), durationDescription,
                                 QStringLiteral("[DURATION]"));
    std::vector<QCommandLineOption> options;
    for (const OptionRow &row : optionTable()) {
        options.emplace_back(row.names, row.description, row.valueName);
        parser.addOption(options.back());
    }

    Parsed parsed;
    const auto error = [&parsed](const QString &text) {
        parsed.outcome = Parsed::Outcome::Error;
        parsed.text = text;
        return parsed;
    };
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString argument = givenAs(arguments, unknown.constFirst());
            // A negative number or duration reads as an option.
            if (unknown.constFirst().front().isDigit()) {
                return error(QStringLiteral("invalid duration %1: use %2")
                                 .arg(quoted(argument), ArgumentRules::durationForms()));
            }
            return error(QStringLiteral("unknown option %1: see --help").arg(quoted(argument)));
        }
        return error(parser.errorText());
    }

    const QString program = QFileInfo(arguments.value(0)).fileName();
    if (parser.isSet(QStringLiteral("help"))) {
        parsed.outcome = Parsed::Outcome::Help;
        parsed.text = helpText(parser);
        return parsed;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parsed.outcome = Parsed::Outcome::Version;
        parsed.text =
            program + QLatin1Char(' ') + QStringLiteral(TARVIK_VERSION) + QLatin1Char('\n');
        return parsed;
    }

    Gathered gathered;
    for (std::size_t i = 0; i < optionTable().size(); ++i) {
        const OptionRow &row = optionTable()[i];
        if (!row.apply || !parser.isSet(options[i]))
            continue;
        const QStringList values = parser.values(options[i]);
        if (!row.valueName.isEmpty() && values.size() > 1) {
            return error(
                QStringLiteral("--%1 given twice (%2 and %3): give it once")
                    .arg(row.names.constLast(), quoted(values.at(0)), quoted(values.at(1))));
        }
        const QString failure = row.apply(gathered, values.value(0));
        if (!failure.isEmpty())
            return error(failure);
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        return error(QStringLiteral("two durations %1 and %2: give one DURATION")
                         .arg(quoted(positional.at(0)), quoted(positional.at(1))));
    }
    if (!positional.isEmpty()) {
        const auto seconds = ArgumentRules::duration(positional.constFirst());
        if (!seconds) {
            return error(QStringLiteral("invalid duration %1: use %2")
                             .arg(quoted(positional.constFirst()), ArgumentRules::durationForms()));
        }
        gathered.request.seconds = *seconds;
        const QString failure =
            setCommand(gathered, Command::Start, quoted(positional.constFirst()));
        if (!failure.isEmpty())
            return error(failure);
    }
    parsed.request = gathered.request;
    return parsed;
}

QStringList optionNames()
{
    QStringList names;
    for (const OptionRow &row : optionTable())
        names.append(QStringLiteral("--") + row.names.constLast());
    return names;
}

} // namespace CommandLine
