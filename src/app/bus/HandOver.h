// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Request.h"

#include <QDBusConnection>
#include <QString>

#include <optional>

// A later launch hands its request to the program that runs already, over the session bus,
// and ends with the status the command line promises (CommandLine::ExitStatus).
namespace HandOver {

struct Result
{
    int exitStatus = 0;
    QString output; // for standard output
    QString errors; // for standard error, one line each
};

// Nothing when no program owns the name (the caller runs the program itself).
std::optional<Result> send(const Request &request, const QDBusConnection &bus);

} // namespace HandOver
