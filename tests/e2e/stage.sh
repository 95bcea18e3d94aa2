#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# For the stage and the classroom, on the real program under Xvfb and openbox with dunst on
# the test's own session bus: the warning colours on screen at their crossings, the
# flashing overtime, a quick start from the menu, the screen saver (a 2-second timeout)
# held while counting and released after, and the notification of a finish while the
# window is minimised, whose click brings the window back. With TARVIK_SHOTS set to a
# folder, the screenshots of the colour stages are kept there.
set -euo pipefail
program=$1
if [ -z "${TARVIK_STAGE_BUS:-}" ]; then
    export TARVIK_STAGE_BUS=1
    exec dbus-run-session -- bash "$0" "$@"
fi
shots=${TARVIK_SHOTS:-}
# The program says how it holds the screen on.
export QT_LOGGING_RULES="tarvik.awake.info=true"
source "$(dirname "$0")/desktop.sh"
source "$(dirname "$0")/stage_colours.sh"

config() { # extra lines
    printf '[SET]\r\nmp3=\r\nqiancolor=clWhite\r\nwarn1=5\r\nwarn2=2\r\novercolor=clAqua\r\noverflash=-1\r\npresets=1\r\n%s' \
        "$1" >"$work/config.dat"
}

start_desktop
# The server keeps the timeout while openbox stays connected.
xset s 2 0
saver() { xssstate -s; }
saver_on() { [ "$(saver)" = on ]; }
idle_ms() { xssstate -i; }
start_dunst
pids+=("$dunst_pid")
notifications_owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications 2>/dev/null |
        grep -q 'boolean true'
}
wait_for notifications_owned || fail "dunst did not take the notification service"

start_program
wait_main_window
config $'shi=0\r\nfeng=0\r\nmiao=8\r\n'
read -r wx wy ww wh <<<"$(geometry "$window")"
# The display under the top panel.
region="$((ww - 20))x$((wh - 90))+$((wx + 10))+$((wy + 70))"
shot() { import -window root "$work/shot.png" 2>/dev/null; digit_colour "$work/shot.png" "$region"; }

# Idle, the screen saver starts after its 2 seconds: it works here.
wait_for saver_on || fail "the screen saver never started while idle (timeout $(xset q | grep timeout))"
echo "screen saver while idle: $(saver) after $(idle_ms) ms without input"

# F4: eight seconds with warnings at 5 and 2. The colours follow on screen in order, and
# the saver stays off through the whole countdown and while the finish box is up.
finish_box() { xdotool search --onlyvisible --name "计时完成提醒" 2>/dev/null | head -1; }
has_finish_box() { [ -n "$(finish_box)" ]; }
no_finish_box() { ! has_finish_box; }
press F4
# Idle digits are red as well: the countdown has begun once they turn white.
counting() { [ "$(shot)" = white ]; }
wait_for counting || fail "F4 shows no white digits"
keep_shot "$work/shot.png" "x11-stage-white.png"
seen=" white"
last=white
while ! has_finish_box; do
    colour=$(shot)
    # The finish box over the digits is no colour of theirs.
    if [ "$colour" != "$last" ] && [[ "$colour" =~ ^(white|yellow|red)$ ]]; then
        seen="$seen $colour"
        last=$colour
        keep_shot "$work/shot.png" "x11-stage-$colour.png"
    fi
    [ "$(saver)" = off ] || fail "the screen saver started while counting ($(idle_ms) ms idle)"
    [ "${SECONDS}" -lt 300 ] || fail "no finish"
done
[ "$seen" = " white yellow red" ] || fail "colours seen while counting:$seen"
echo "colours while counting:$seen"
held_by() { grep -F "$1 by \"X screen-saver extension\"" "$work/program.log" | tail -1; }
[ -n "$(held_by "screen held on")" ] || fail "the screen was not held by X screen-saver extension"
echo "program: $(held_by "screen held on")"
# The box is up with no input since F4: the countdown's 8 s are well past the timeout.
long_idle() { [ "$(idle_ms)" -gt 4000 ]; }
wait_for long_idle || fail "input came while counting"
[ "$(saver)" = off ] || fail "the screen saver started under the finish box"
echo "screen saver while counting and under the finish box: $(saver) after $(idle_ms) ms without input"
# The window was in sight: the finish sent no notification.
[ ! -s "$work/notifications.log" ] || fail "a notification with the window in sight: $(cat "$work/notifications.log")"
xdotool windowactivate --sync "$(finish_box)" key Return
wait_for no_finish_box || fail "the finish message did not close"
wait_for saver_on || fail "the screen saver did not start after the finish box closed"
echo "screen saver after the finish: $(saver) after $(idle_ms) ms without input"
echo "program: $(held_by "screen released")"

# A zero duration runs below zero: aqua digits that blink once a second.
config $'shi=0\r\nfeng=0\r\nmiao=0\r\n'
press F4
expect_blinking aqua x11-overtime
[ "$(saver)" = off ] || fail "the screen saver started below zero"
# F7 ends it: the digits stay, steady.
press F7
wait_for steady aqua || fail "the digits still blink after the end"

# The quick-start submenu at the top of the menu: its first entry, the 1-minute preset.
xdotool mousemove $((wx + ww / 2)) $((wy + wh / 2)) click 3 >/dev/null
wait_for popup_menu >/dev/null || fail "no menu on a right click"
xdotool key Down Right
submenu_open() { [ "$(xdotool search --onlyvisible --classname tarvik-timer 2>/dev/null | while read -r w; do
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && echo "$w"; done | wc -l)" -ge 2 ]; }
wait_for submenu_open || fail "the quick-start submenu did not open"
xdotool key Return
remembered() { tr -d '\r' <"$work/config.dat" | grep -qx 'recent=60'; }
wait_for remembered || fail "the quick start did not start 60 s: $(tr -d '\r' <"$work/config.dat" | grep recent || true)"
counting_minute() { [ "$(shot)" = white ]; }
wait_for counting_minute || fail "the quick start shows no white digits"
echo "quick start: 1 minute from the menu, remembered as $(tr -d '\r' <"$work/config.dat" | grep recent)"
press F7

# Minimised at the finish: the notification, and its click brings the window back.
config $'shi=0\r\nfeng=0\r\nmiao=3\r\nwarn1=0\r\nwarn2=0\r\n'
press F4
press F9
wait_for is_minimised || fail "F9 did not minimise"
notified() { grep -qx '计时完成提醒|您好，您的计时时间已经完成，谢谢使用！' "$work/notifications.log"; }
wait_for notified || fail "no notification at an unseen finish: $(cat "$work/notifications.log")"
echo "notification received: $(cat "$work/notifications.log")"
dunstctl action 0
restored() { ! is_minimised; }
wait_for restored || fail "the notification's click did not bring the window back: $(wm_state "$window")"
wait_for has_finish_box || fail "no finish box with the notification"
xdotool windowactivate --sync "$(finish_box)" key Return
wait_for no_finish_box || fail "the finish message did not close"
withdrawn() { [ "$(dunstctl count displayed)" = 0 ]; }
wait_for withdrawn || fail "the notification stayed after the box closed"

press F12
expect_clean_exit
echo "stage end-to-end (X11): 1 passed, 0 failed"
