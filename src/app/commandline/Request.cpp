// SPDX-License-Identifier: GPL-3.0-or-later
#include "Request.h"

#include "ArgumentRules.h"

#include <array>
#include <utility>

namespace {

constexpr std::array displayModeNames{
    std::pair{DisplayMode::FullScreen, u"full-screen"},
    std::pair{DisplayMode::Window, u"window"},
    std::pair{DisplayMode::Hidden, u"hidden"},
};

} // namespace

namespace DisplayModeNames {

QString name(DisplayMode mode)
{
    for (const auto &[value, text] : displayModeNames) {
        if (value == mode)
            return QString::fromUtf16(text);
    }
    return {};
}

std::optional<DisplayMode> fromName(const QString &name)
{
    for (const auto &[value, text] : displayModeNames) {
        if (name == QStringView(text))
            return value;
    }
    return std::nullopt;
}

} // namespace DisplayModeNames

bool Request::needsRunningProgram() const
{
    switch (command) {
    case Command::Pause:
    case Command::Resume:
    case Command::End:
    case Command::Status:
    case Command::RemoteUrl:
    case Command::Quit:
        return true;
    case Command::None:
    case Command::Start:
    case Command::StartUntil:
        break;
    }
    return false;
}

QList<Request::Call> Request::calls() const
{
    QList<Call> calls;
    // First, so that --remote-url has links to give.
    if (remote && command != Command::Quit)
        calls.append({QStringLiteral("EnableRemote"), {}});
    switch (command) {
    case Command::None:
    case Command::Status:
    case Command::RemoteUrl:
        break;
    case Command::Start:
        calls.append({QStringLiteral("Start"), {seconds}});
        break;
    case Command::StartUntil:
        calls.append({QStringLiteral("StartUntil"), {ArgumentRules::clockTimeText(until)}});
        break;
    case Command::Pause:
        calls.append({QStringLiteral("Pause"), {}});
        break;
    case Command::Resume:
        calls.append({QStringLiteral("Resume"), {}});
        break;
    case Command::End:
        calls.append({QStringLiteral("End"), {}});
        break;
    case Command::Quit:
        calls.append({QStringLiteral("Quit"), {}});
        return calls;
    }
    if (monitor)
        calls.append({QStringLiteral("SetMonitor"), {*monitor}});
    if (display || monitor) {
        calls.append({QStringLiteral("SetDisplay"),
                      {DisplayModeNames::name(display.value_or(DisplayMode::FullScreen))}});
    }
    if (isEmpty())
        calls.append({QStringLiteral("Present"), {}});
    return calls;
}
