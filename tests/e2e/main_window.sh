#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under Xvfb and openbox: the window maps maximised with its title,
# shows the configured colours, the start button runs a countdown to its finish
# message, and closing the window ends the program cleanly.
set -euo pipefail

program=$1
source "$(dirname "$0")/desktop.sh"

start_desktop
start_program $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=4\r\nqiancolor=clYellow\r\nbeicolor=$00808000\r\nmp3=\r\n'
wait_main_window

name=$(xdotool getwindowname "$window")
[[ "$name" == "$title"* ]] || fail "title is '$name'"
[ "$name" != "$title" ] || fail "the title has no credit after the product name"

is_maximised() {
    state=$(net_state "$window")
    [[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* && "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}
wait_for is_maximised || fail "not maximised: $state"
# Without a notification area the taskbar entry stays, so the window can come back.
[[ "$state" != *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "taskbar entry dropped without a tray"
# The display, once painted: teal background, yellow digits.
shows_colours() {
    import -window root "$work/before.png"
    pixel=$(convert "$work/before.png" -format '%[pixel:p{60,500}]' info:)
    yellow=$(convert "$work/before.png" -crop 1280x600+0+150 +repage -fill black +opaque '#FFFF00' \
        -fill white -opaque '#FFFF00' -format '%[fx:mean]' info:)
    case "$pixel" in
        "srgb(0,128,128)" | "rgb(0,128,128)") ;;
        *) return 1 ;;
    esac
    awk -v f="$yellow" 'BEGIN { exit !(f > 0.005) }'
}
wait_for shows_colours || fail "display background is $pixel, yellow digits' fraction $yellow"

# The start button, where the window has it. The digits change (the display, not the
# panel, where the pointer lights the button up).
xy=$(widget_centre "push button" "开始计时")
read -r x y <<<"$xy"
xdotool mousemove "$x" "$y" click 1
display_area() { convert "$1" -crop 1280x600+0+150 +repage "$1.area.png"; echo "$1.area.png"; }
display_changed() {
    import -window root "$work/running.png"
    changed=$(compare -metric AE "$(display_area "$work/before.png")" "$(display_area "$work/running.png")" null: 2>&1 || true)
    [ "${changed%% *}" != "0" ]
}
wait_for display_changed || fail "the display did not change after the start button"

# Four seconds later the finish message appears.
finish_box() { xdotool search --onlyvisible --name "计时完成提醒" 2>/dev/null | head -1; }
has_finish_box() { [ -n "$(finish_box)" ]; }
no_finish_box() { ! has_finish_box; }
wait_for has_finish_box || fail "no finish message"
xdotool windowactivate --sync "$(finish_box)" key Return
wait_for no_finish_box || fail "the finish message did not close"
# Still on the taskbar after all that input: the start did not take the entry away either.
[[ "$(net_state "$window")" != *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "taskbar entry dropped without a tray"

# Once a notification area appears, the program leaves the taskbar.
skips_taskbar() {
    state=$(net_state "$window")
    [[ "$state" == *_NET_WM_STATE_SKIP_TASKBAR* ]]
}
start_tray
wait_for skips_taskbar || fail "still on the taskbar with a tray: $state"
# ... and comes back to it when the notification area goes away.
kill "$tray_pid"
wait "$tray_pid" 2>/dev/null || true
on_taskbar() { ! skips_taskbar; }
wait_for on_taskbar || fail "not back on the taskbar after the tray went away: $state"

# Closing the window ends the program.
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
expect_clean_exit
echo "main window end-to-end: 1 passed, 0 failed"
