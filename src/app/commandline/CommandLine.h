// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Request.h"

#include <QString>
#include <QStringList>

// The program's command line: `tarvik-timer [OPTION...] [DURATION]`.
//
//   const CommandLine::Parsed parsed = CommandLine::parse(QCoreApplication::arguments());
//   switch (parsed.outcome) { ... }  // Help and Version: print text; Error: text, exit 2
//
// The options stand in one table (CommandLine.cpp): a new option is one more row there, and
// one more line in the man page and the bash completion.
namespace CommandLine {

// Exit statuses of a launch that steers the timer.
enum ExitStatus
{
    Done = 0,
    Refused = 1,    // the countdown's state refuses the command
    BadInput = 2,   // nothing was done
    NotRunning = 3, // no program to steer
};

struct Parsed
{
    enum class Outcome
    {
        Run,
        Help,
        Version,
        Error
    };
    Outcome outcome = Outcome::Run;
    Request request;
    // Help: the help text; Version: the version line; Error: one line, without the program's
    // name.
    QString text;
};

// arguments: the program's name first, as QCoreApplication::arguments() gives them.
Parsed parse(const QStringList &arguments);

// Every option's long name, "--" included, in table order.
QStringList optionNames();

} // namespace CommandLine
