#pragma once

class TrayIcon;

// Where Qt's own notification-area icon takes its button events from a window that a
// modal window blocks (the X11 notification area), the icon would not react while the
// settings dialog or a message box is open. There the buttons pressed on the icon go to
// tray (TrayIcon::buttonPressed, buttonReleased) before Qt sees them.
namespace TrayButtons {

// Does nothing on platforms whose notification area needs no help.
void watch(TrayIcon *tray);

} // namespace TrayButtons
