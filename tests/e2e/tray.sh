#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray icon on the real program under Xvfb, openbox and trayer: docked before the
# main window shows, the command menu on a right click, full screen on a double click
# from every display mode, back after the tray host restarts, gone when the program ends.
set -euo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"

start_desktop
start_tray
start_program

# The icon's window is made before the main window: it exists as soon as the main
# window shows, with a lower window id (ids are handed out in order).
wait_main_window
icon=$(find_icon)
[ -n "$icon" ] || fail "no tray icon when the main window showed"
[ $((icon)) -lt $((window)) ] || fail "the icon was made after the main window"
wait_for icon_docked || fail "the icon did not dock in the tray"
wait_for is_framed_maximised || fail "not framed and maximised at start"

# The clock is the window's icon too, in every size from 16 to 64 pixels.
icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
[[ "$icons" == *"(16 x 16)"* && "$icons" == *"(64 x 64)"* ]] || fail "window icon sizes: $icons"

# Resting the pointer on the icon shows its tooltip.
tooltip() {
    local w
    for w in $(xdotool search --onlyvisible --classname tarvik-timer 2>/dev/null); do
        if xprop -id "$w" _NET_WM_WINDOW_TYPE | grep _NET_WM_WINDOW_TYPE_TOOLTIP >/dev/null; then
            echo "$w"
            return 0
        fi
    done
    return 1
}
read -r x y <<<"$(icon_centre)"
xdotool mousemove "$x" "$y"
wait_for tooltip || fail "no tooltip over the icon"

# A single left click does nothing (once a key after it has been handled, sent to the
# main window, active from before the click).
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || fail "could not activate the main window"
click_icon 1
prove_delivered "a single click on the icon"
wm_sync
is_framed_maximised || fail "a single click changed the display"

# A right click opens the command menu at the icon, when the button is released.
read -r x y <<<"$(icon_centre)"
xdotool mousemove "$x" "$y" mousedown 3
prove_delivered "the right button's press"
no_popup_menu || fail "the menu opened on the right button's press"
xdotool mouseup 3
wait_for popup_menu || fail "no menu on a right click"
menu=$(popup_menu)
read -r _ _ mw mh <<<"$(geometry "$menu")"
[ "$mh" -gt 150 ] && [ "$mw" -gt 80 ] || fail "the menu is only ${mw}x${mh}"
xdotool key Escape
wait_for no_popup_menu || fail "the menu did not close"

# A double click goes full screen from window display...
click_icon 1 2
wait_for is_full_screen || fail "double click from window display: $(net_state "$window")"

# ... from hidden display ...
press F9
wait_for is_minimised || fail "F9 did not minimise"
click_icon 1 2
wait_for is_full_screen || fail "double click from hidden display: $(wm_state "$window") $(net_state "$window")"

# ... and again from window display, chosen in the tray's menu while minimised
# (idle: the keyboard walks 快速开始, 参数设置, 开始计时, 窗口显示).
press F9
wait_for is_minimised || fail "F9 did not minimise"
click_icon 3
wait_for popup_menu || fail "no menu on a right click while minimised"
xdotool key Down Down Down Down Return
wait_for is_framed_maximised || fail "窗口显示 from the tray did not restore the window: $(wm_state "$window")"
click_icon 1 2
wait_for is_full_screen || fail "double click after F8"

# The tray host restarts: the icon comes back.
kill "$tray_pid"
wait "$tray_pid" 2>/dev/null || true
icon_gone() { ! icon_docked; }
wait_for icon_gone || fail "the icon stayed docked without a tray"
start_tray
wait_for icon_docked || fail "the icon did not come back after the tray restarted"
click_icon 3
wait_for popup_menu || fail "no menu on a right click after the tray restarted"
xdotool key Escape
wait_for no_popup_menu || fail "the menu did not close"

# Ending the program removes the icon; the tray goes on.
press F12
expect_clean_exit
icon_removed() { [ -z "$(find_icon)" ]; }
wait_for icon_removed || fail "the icon is still in the tray after the program ended"

# Likewise when the window's close box ends the program. (The tray that docks the new
# icon has lived through the old one's going.)
start_program
wait_main_window
wait_for icon_docked || fail "the icon did not dock the second time"
kill -0 "$tray_pid" 2>/dev/null || fail "the tray host went away"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
expect_clean_exit
wait_for icon_removed || fail "the icon is still in the tray after the window was closed"
echo "tray end-to-end: 1 passed, 0 failed"
