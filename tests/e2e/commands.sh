#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Function keys on the real program under Xvfb and openbox: F10 full screen, F8 window
# display, F9 minimised, F7 doing nothing while idle, F11's dialog keeping its keys,
# and F12 ending the program; the total counter focused at start and the wheel stepping
# the focused field wherever the pointer is.
set -euo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"

start_desktop
start_program
wait_main_window
wait_for is_framed_maximised || fail "not framed and maximised at start: $(net_state "$window")"

# A right click on the display opens the menu at the cursor.
xdotool mousemove 600 400 click 3
wait_for popup_menu || fail "no menu on a right click on the display"
read -r mx my _ menu_h <<<"$(geometry "$(popup_menu)")"
[ "$mx $my" = "600 400" ] || fail "the menu is not at the cursor"
xdotool key Escape
wait_for no_popup_menu || fail "the menu did not close"

# The total counter (the first of the three read-only fields) has the focus from the
# start: the menu key opens its own text menu there, not the command menu.
# (A read-only field's menu is too low for popup_menu: any_popup finds it.)
total_counter() { widget_right_of "计时总秒数：" text | grep -q .; }
wait_for total_counter || fail "no total counter among the widgets: $(widgets | cut -f1-6 | tr '\t\n' ' ;')"
read -r tx _ tw _ <<<"$(widget_right_of "计时总秒数：" text)"
press Menu
wait_for any_popup || fail "no menu on the menu key"
read -r kx _ _ key_menu_h <<<"$(geometry "$(any_popup)")"
[ "$key_menu_h" != "$menu_h" ] || fail "the menu key opened the command menu: no control had the focus"
[ "$kx" -ge "$tx" ] && [ "$kx" -le $((tx + tw)) ] || fail "the menu key's menu at $kx is not at the total counter ($tx, $tw wide)"
xdotool key Escape
wait_for no_popup || fail "the menu did not close"

# The hours field opens its own text menu.
xy=$(widget_centre text "计时时长（时）")
read -r x y <<<"$xy"
xdotool mousemove "$x" "$y" click 3
wait_for popup_menu || fail "no text menu in the hours field"
read -r _ _ _ field_menu_h <<<"$(geometry "$(popup_menu)")"
[ "$field_menu_h" != "$menu_h" ] || fail "the hours field showed the command menu"
xdotool key Escape
wait_for no_popup_menu || fail "the field's menu did not close"

# The wheel turned over the display steps the focused hours field from 01 to 3; the save
# button then writes what the field shows.
xdotool mousemove 600 400 click 4 click 4
xy=$(widget_centre "push button" "保存设置")
read -r x y <<<"$xy"
xdotool mousemove "$x" "$y" click 1
confirm_box() { xdotool search --onlyvisible --name "^确认\$" 2>/dev/null | head -1 || true; }
has_confirm_box() { [ -n "$(confirm_box)" ]; }
wait_for has_confirm_box || fail "no confirmation for the save button"
xdotool windowactivate --sync "$(confirm_box)" key Return
saved_hours() { grep -q -a 'shi=3' "$work/config.dat"; }
wait_for saved_hours || fail "the wheel did not step the hours field: $(tr -d '\r' <"$work/config.dat" | grep shi || true)"

# The function keys work with the focus in the field.
press F10
wait_for is_full_screen || fail "F10: not full screen: $(net_state "$window") $(geometry "$window")"

press F8
wait_for is_framed_maximised || fail "F8: not framed and maximised: $(net_state "$window")"
before=$(geometry "$window")
press F8
prove_delivered F8
wm_sync
is_framed_maximised || fail "F8 again changed the display mode"
[ "$(geometry "$window")" = "$before" ] || fail "F8 again moved the window"

press F9
wait_for is_minimised || fail "F9: not minimised: $(wm_state "$window")"

# Back through the window manager; F7 in the idle state ends nothing and stays framed.
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || fail "could not restore the window"
wait_for is_framed_maximised || fail "not restored framed and maximised: $(net_state "$window")"
press F7
prove_delivered F7
wm_sync
is_framed_maximised || fail "F7 in the idle state changed the display"

# F11 opens the settings dialog; F12 pressed in it does not reach the window.
press F11
find_dialog() { dialog=$(xdotool search --onlyvisible --name "^参数设置" 2>/dev/null | head -1 || true); [ -n "$dialog" ]; }
wait_for find_dialog || fail "F11 opened no settings dialog"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
xdotool key --clearmodifiers F12
# Its close box: the window manager asks it to close, a request that comes after F12.
xdotool key --clearmodifiers alt+F4
dialog_gone() { ! xdotool search --onlyvisible --name "^参数设置" >/dev/null 2>&1; }
wait_for dialog_gone || fail "the settings dialog did not close"
# So F12 has been handled: had it reached the window, the window would have gone first.
wm_sync
[ -n "$(find_main_window)" ] || fail "F12 in the settings dialog closed the main window"
program_ended && fail "F12 in the settings dialog or its closing ended the program"
# A program about to end on the closing would not take input back in its main window.
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || fail "could not activate the main window"
prove_delivered "the dialog's closing"
program_ended && fail "closing the settings dialog ended the program"

press F12
expect_clean_exit
echo "commands end-to-end: 1 passed, 0 failed"
