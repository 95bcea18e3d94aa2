#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The settings dialog and the error box on the real program under Xvfb, openbox and
# trayer: the dialog's frame centred on the main window's frame in window display and in
# full screen, Escape keeping the dialog open, a file typed into the browse dialog leaving
# no completion list, and the tray icon's menu and double click working while the dialog
# or an error box is open, up to ending the program from there.
set -euo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"

find_dialog() { xdotool search --onlyvisible --name "^参数设置" 2>/dev/null | head -1 || true; }
dialog_gone() { [ -z "$(find_dialog)" ]; }
open_dialog() {
    press F11
    dialog=""
    dialog_shown() { dialog=$(find_dialog); [ -n "$dialog" ]; }
    wait_for dialog_shown || fail "F11 opened no settings dialog"
}

# Twice the centre of the window's frame (so that halves stay whole numbers).
frame_centre2() {
    local x y w h left right top bottom
    read -r x y w h <<<"$(geometry "$1")"
    read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS |
        sed -n 's/.*= //p' | tr -d ',')"
    echo $((2 * (x - ${left:-0}) + w + ${left:-0} + ${right:-0})) \
        $((2 * (y - ${top:-0}) + h + ${top:-0} + ${bottom:-0}))
}
dialog_centred() {
    local mx my dx dy
    read -r mx my <<<"$(frame_centre2 "$window")"
    read -r dx dy <<<"$(frame_centre2 "$dialog")"
    # At most a pixel off, from halving odd sizes.
    [ $((dx - mx)) -ge -2 ] && [ $((dx - mx)) -le 2 ] && [ $((dy - my)) -ge -2 ] && [ $((dy - my)) -le 2 ]
}
offsets() {
    local mx my dx dy
    read -r mx my <<<"$(frame_centre2 "$window")"
    read -r dx dy <<<"$(frame_centre2 "$dialog")"
    echo "dialog centre off by $(((dx - mx) / 2)),$(((dy - my) / 2)) px" \
        "(main $(geometry "$window") $(xprop -id "$window" _NET_FRAME_EXTENTS)," \
        "dialog $(geometry "$dialog") $(xprop -id "$dialog" _NET_FRAME_EXTENTS))"
}

start_desktop
start_tray
start_program
wait_main_window
wait_for icon_docked || fail "the icon did not dock in the tray"
wait_for is_framed_maximised || fail "not framed and maximised at start"

# Window display: the dialog's frame is centred on the main window's frame.
open_dialog
wait_for dialog_centred || fail "window display: $(offsets)"

# The places clicked in the dialog, from its own layout.
gst-launch-1.0 -q audiotestsrc num-buffers=10 ! audioconvert ! lamemp3enc ! \
    filesink location="$work/alarm.mp3" >/dev/null
cp "$work/alarm.mp3" "$work/alarm2.mp3"
xy=$(centre_of $(widget_right_of "音乐文件：" text)) ||
    fail "no sound file field right of 音乐文件：: $(widgets | cut -f1-6 | tr '\t\n' ' ;')"
read -r fx fy <<<"$xy"
xy=$(widget_centre "check box" "显示窗体头条")
read -r cx cy <<<"$xy"
xy=$(widget_centre "push button" "参数设置")
read -r sx sy <<<"$xy"
is_checked "check box" "显示窗体头条" || fail "显示窗体头条 is not checked at the start"

# Escape in the dialog leaves it open: the click into the sound file field and Alt+Down
# that come after it open the browse dialog from it.
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
xdotool key --clearmodifiers Escape

# A sound file chosen by typing its name in the browse dialog and pressing Enter leaves no
# completion list behind: the next click, on 显示窗体头条, toggles the box, and the save
# button stores both.
# (Real sounds: the main window opens the chosen file when the dialog closes.)
xdotool mousemove "$fx" "$fy" click 1
xdotool key --clearmodifiers alt+Down
find_browse() { xdotool search --onlyvisible --name "^Browse\$" 2>/dev/null | head -1 || true; }
has_browse() { [ -n "$(find_browse)" ]; }
browse_gone() { ! has_browse; }
wait_for has_browse || fail "Alt+Down opened no browse dialog"
[ -n "$(find_dialog)" ] || fail "Escape closed the settings dialog"
# Typing goes to the browse dialog's file name field once it has the focus.
typing_ready() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$(find_browse)" ] &&
        [[ "$(focused_widget)" == "text "* ]]
}
wait_for typing_ready || fail "the browse dialog's file name field did not take the focus: $(focused_widget)"
xdotool type --delay 100 "ala"
wait_for any_popup || fail "no completion list in the browse dialog"
xdotool type --delay 100 "rm.mp3"
xdotool key Return
wait_for browse_gone || fail "Enter did not choose the typed file"
# The list was on the screen before Enter: had it stayed, it would be there now.
no_popup || fail "a completion list stayed on the screen after the browse dialog closed"
xdotool mousemove "$cx" "$cy" click 1
xdotool mousemove "$sx" "$sy" click 1
confirm_box() { xdotool search --onlyvisible --name "^确认\$" 2>/dev/null | head -1 || true; }
has_confirm_box() { [ -n "$(confirm_box)" ]; }
wait_for has_confirm_box || fail "no confirmation for the dialog's save button"
xdotool windowactivate --sync "$(confirm_box)" key Return
saved() { grep -q -a "mp3=$work/alarm.mp3" "$work/config.dat" && grep -q -a 'showtop=0' "$work/config.dat"; }
wait_for saved || fail "the click after browsing did not reach the check box: $(tr '\r\n' '  ' <"$work/config.dat")"
no_popup || fail "a completion list came back after the browse dialog closed"

# With the dialog open the tray's menu opens, on the right button's release: none while
# the button is down, once a key after the press has been handled.
read -r x y <<<"$(icon_centre)"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || fail "could not activate the settings dialog"
xdotool mousemove "$x" "$y" mousedown 3
prove_delivered "the right button's press"
no_popup_menu || fail "the menu opened on the press while the dialog was open"
xdotool mouseup 3
wait_for popup_menu || fail "no tray menu while the settings dialog is open"
xdotool key Escape
wait_for no_popup_menu || fail "the tray menu did not close"
[ -n "$(find_dialog)" ] || fail "closing the tray menu closed the dialog"

# ... and the double click goes full screen. (Handled after the menu's Escape: the
# dialog must still be there then.)
click_icon 1 2
wait_for is_full_screen || fail "no full screen from the tray while the dialog is open"
[ -n "$(find_dialog)" ] || fail "closing the tray menu closed the dialog"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+F4
wait_for dialog_gone || fail "the settings dialog did not close"

# Full screen: centred as well.
open_dialog
wait_for dialog_centred || fail "full screen: $(offsets)"

xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+F4
wait_for dialog_gone || fail "the settings dialog did not close in full screen"

# 退出系统, the menu's last item, ends the program with the dialog still open (in window
# display: the full-screen window covers the tray).
press F8
wait_for is_framed_maximised || fail "F8 did not bring back window display"
open_dialog
click_icon 3
wait_for popup_menu || fail "no tray menu for 退出系统"
xdotool key Up Return
expect_clean_exit

# An error box (a start with a colour that does not convert) leaves the tray working too.
start_program $'[SET]\r\nmp3=\r\n'
wait_main_window
wait_for icon_docked || fail "the icon did not dock the second time"
wait_for is_framed_maximised || fail "not framed and maximised at the second start"
printf '[SET]\r\nmp3=\r\nqiancolor=bright\r\n' >"$work/config.dat"
press F4
error_box() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | while read -r w; do
    [ "$(xwininfo -id "$w" | awk '/Height:/ {print $2}')" -gt 64 ] && echo "$w"; done | head -1 || true; }
box_shown() { box=$(error_box); [ -n "$box" ]; }
wait_for box_shown || fail "no error box for the start"
click_icon 3
wait_for popup_menu || fail "no tray menu while an error box is open"
xdotool key Escape
wait_for no_popup_menu || fail "the tray menu did not close over the error box"
click_icon 1 2
wait_for is_full_screen || fail "no full screen from the tray while an error box is open"
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
xdotool key --clearmodifiers Return
box_gone() { [ -z "$(error_box)" ]; }
wait_for box_gone || fail "the error box did not close"
press F12
expect_clean_exit
echo "modal end-to-end: 1 passed, 0 failed"
