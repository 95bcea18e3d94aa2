#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The keyboard focus on the real program under Xvfb and openbox, with trayer's notification
# area (the window is then kept off the taskbar) and without one. Nothing is clicked in the
# window and nothing is activated by hand: the keys go wherever the window manager left the
# focus. The window has it when it first shows, after the save confirmation, the finish
# message and the settings dialog close, and after a double click on the tray icon brings it
# back. Prints the focused window at each step.
set -euo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"

focused() { xdotool getwindowfocus 2>/dev/null || echo 0; }
has_focus() { [ "$(focused)" = "$window" ]; }
show_focus() {
    local f
    f=$(focused)
    echo "$1: focus on $f \"$(xdotool getwindowname "$f" 2>/dev/null || true)\" (main window $window)"
}
expect_focus() {
    wait_for has_focus || { show_focus "$1" >&2; fail "$1: the main window has not the focus"; }
    show_focus "$1"
}
keys() { xdotool key --clearmodifiers "$@"; }
named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true; }
has_named() { [ -n "$(named "$1")" ]; }
no_named() { [ -z "$(named "$1")" ]; }
box_has_focus() { [ "$(focused)" = "$(named "$1")" ]; }

# Two seconds to count down, no sound.
settings=$'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=2\r\nmp3=\r\n'

start_desktop
start_tray
start_program "$settings"
wait_main_window
wait_for icon_docked || fail "the icon did not dock in the tray"
wait_for is_framed_maximised || fail "not framed and maximised at start"
[[ "$(net_state "$window")" == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "on the taskbar with a tray: $(net_state "$window")"
expect_focus "tray, first shown"
keys F10
wait_for is_full_screen || fail "F10 at start did nothing"
keys F8
wait_for is_framed_maximised || fail "F8 did nothing"

# The save confirmation from the keyboard: Tab from the total counter, which has the focus
# at start, past the two other counters and the three duration fields to the save button.
keys Tab Tab Tab Tab Tab Tab space
wait_for has_named 确认 || fail "no save confirmation from the keyboard"
wait_for box_has_focus 确认 || fail "the confirmation has not the focus"
show_focus "confirmation open"
keys Return
wait_for no_named 确认 || fail "Return did not close the confirmation"
expect_focus "tray, after the confirmation"

# F4 starts the countdown; its finish message shows two seconds later.
keys F4
wait_for has_named 计时完成提醒 || fail "F4 after the confirmation started no countdown"
wait_for box_has_focus 计时完成提醒 || fail "the finish message has not the focus"
keys Return
wait_for no_named 计时完成提醒 || fail "Return did not close the finish message"
expect_focus "tray, after the finish message"

# The settings dialog, closed by its close box (the window manager's key).
keys F11
wait_for has_named 参数设置 || fail "F11 opened no settings dialog"
wait_for box_has_focus 参数设置 || fail "the settings dialog has not the focus"
keys alt+F4
wait_for no_named 参数设置 || fail "the settings dialog did not close"
expect_focus "tray, after the settings dialog"
keys F10
wait_for is_full_screen || fail "F10 after the settings dialog did nothing"

# Minimised, then back through the tray icon: full screen with the focus.
keys F9
wait_for is_minimised || fail "F9 did not minimise"
click_icon 1 2
wait_for is_full_screen || fail "the double click did not bring the window back"
expect_focus "tray, brought back by the icon"
keys F8
wait_for is_framed_maximised || fail "F8 after the tray brought the window back did nothing"
keys F12
expect_clean_exit

# Without a notification area the window keeps its taskbar entry, and the focus.
kill "$tray_pid"
wait "$tray_pid" 2>/dev/null || true
start_program "$settings"
wait_main_window
wait_for is_framed_maximised || fail "not framed and maximised at start without a tray"
[[ "$(net_state "$window")" != *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "off the taskbar without a tray"
expect_focus "no tray, first shown"
keys F10
wait_for is_full_screen || fail "F10 at start did nothing without a tray"
keys F11
wait_for has_named 参数设置 || fail "F11 opened no settings dialog without a tray"
keys alt+F4
wait_for no_named 参数设置 || fail "the settings dialog did not close without a tray"
expect_focus "no tray, after the settings dialog"
keys F12
expect_clean_exit
echo "focus end-to-end (X11): 1 passed, 0 failed"
