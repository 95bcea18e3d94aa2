// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The program keeps no taskbar entry: the tray icon is its handle. Where the desktop
// has no notification area the entry stays, so a minimised window can be brought back.
namespace TaskbarPresence {

// Applies whenever the window is shown (also after it has been re-created).
void keepOffTaskbar(QWidget *window);

// The notification area came or went: drops or restores the entry of a shown window.
void refresh(QWidget *window);

// Whether the desktop offers a way back without a taskbar entry.
bool canLeaveTaskbar();

} // namespace TaskbarPresence
