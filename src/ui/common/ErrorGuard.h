// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

#include <QString>

#include <exception>
#include <utility>

// The error box every event handler runs under: an error ends the handler at the
// failing step, is shown to the user, and the program goes on with the next event.
namespace ErrorGuard {

// The message as the box shows it: "." appended when the last character sorts after ".".
QString displayedMessage(const QString &message);

// Application-owned box: stop icon, the program's title as caption, OK.
void showError(const QString &message);

} // namespace ErrorGuard

// Runs handler; returns false when it ended with an error (which has been shown).
template<class F>
bool guarded(F &&handler)
{
    try {
        std::forward<F>(handler)();
        return true;
    } catch (const TarvikError &error) {
        ErrorGuard::showError(error.message());
    } catch (const std::exception &error) {
        ErrorGuard::showError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ErrorGuard::showError(QStringLiteral("Unknown error"));
    }
    return false;
}
