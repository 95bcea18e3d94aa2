// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

#include <cstdint>
#include <functional>

class QObject;

// Where Qt's own notification-area icon takes its button events from a window that a
// modal window blocks (the X11 notification area), the icon would not react while the
// settings dialog or a message box is open. There the buttons pressed on the icon go to
// the handlers before Qt sees them, each queued to run after the event's dispatch.
namespace TrayButtons {

struct Handlers
{
    std::function<void(Qt::MouseButton button, std::int64_t timeMs, QPoint position)> pressed;
    std::function<void(Qt::MouseButton button)> released;
};

// Watches for as long as owner lives, calling the handlers in owner's thread. Does nothing
// on platforms whose notification area needs no help.
void watch(QObject *owner, Handlers handlers);

} // namespace TrayButtons
