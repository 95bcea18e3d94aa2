// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the running program answers on the session bus.
namespace TimerBus {

inline const QString service = QStringLiteral("io.github.tarvik.Timer");
inline const QString path = QStringLiteral("/io/github/tarvik/Timer");
inline const QString interface = QStringLiteral("io.github.tarvik.Timer1");
inline const QString notAllowed = QStringLiteral("io.github.tarvik.Timer1.Error.NotAllowed");

} // namespace TimerBus
