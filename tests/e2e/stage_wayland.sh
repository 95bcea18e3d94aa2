#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# For the stage and the classroom, on the real program under headless sway with swaybar's
# tray and dunst on the session's bus: a quick start from the menu, the warning colours on
# screen at their crossings, the flashing overtime, the compositor kept from going idle
# while counting (swayidle with a 2-second timeout) and let go after, and the notification
# of a finish while the window is hidden, whose click brings the window back. With
# TARVIK_SHOTS set to a folder, the screenshots of the colour stages are kept there.
set -euo pipefail
program=$1
shots=${TARVIK_SHOTS:-}
# The program says how it holds the screen on.
export QT_LOGGING_RULES="tarvik.awake.info=true"
source "$(dirname "$0")/sway.sh"
source "$(dirname "$0")/stage_colours.sh"

helpers=()
trap 'for p in "${helpers[@]}"; do kill "$p" 2>/dev/null || true; done; cleanup' EXIT

config() { # extra lines
    printf '[SET]\r\nmp3=\r\nqiancolor=clWhite\r\nwarn1=5\r\nwarn2=2\r\novercolor=clAqua\r\noverflash=-1\r\npresets=1\r\n%s' \
        "$1" >"$work/app/config.dat"
}

start_sway tray
start_dunst in_session
helpers+=("$dunst_pid")
notifications_owned() {
    in_session busctl --user call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
        NameHasOwner s org.freedesktop.Notifications 2>/dev/null | grep -q 'b true'
}
wait_for notifications_owned || fail "dunst did not take the notification service: $(cat "$work/dunst.log")"
# The idle file appears after 2 seconds without input and goes at the next input.
idle_file="$work/idle"
in_session swayidle -w timeout 2 "touch $idle_file" resume "rm -f $idle_file" >"$work/swayidle.log" 2>&1 &
helpers+=($!)
gone_idle() { [ -e "$idle_file" ]; }
not_idle() { [ ! -e "$idle_file" ]; }

start_program $'[SET]\r\nmp3=\r\npresets=1\r\n'
wait_for is_state framed || fail "not framed at start: $(main_state)"
# The compositor draws the pointer into its screenshots: it rests on the bar, away from the digits.
pointer move $((screen_w / 2)) $((screen_h - 5))
config $'shi=0\r\nfeng=0\r\nmiao=8\r\n'

region() {
    main_window | jq -r '"\(.rect.width - 20)x\(.rect.height - 90)+\(.rect.x + 10)+\(.rect.y + 70)"'
}
shot() { screenshot "$work/shot.png"; digit_colour "$work/shot.png" "$(region)"; }

# The quick-start submenu is the menu's first entry: the menu key from the start button
# (Shift+Tab from the total counter), Down to it, Right into it, Return on the 1-minute
# preset. One keyboard does it all: the menu closes with the one that opened it.
in_session wtype -s 400 -M shift -k Tab -m shift -s 300 -k Menu -s 2500 -k Down -s 400 -k Right \
    -s 1500 -k Return
remembered() { tr -d '\r' <"$work/app/config.dat" | grep -qx 'recent=60'; }
wait_for remembered || fail "the quick start did not start 60 s: $(tr -d '\r' <"$work/app/config.dat" | grep recent || true)"
counting_minute() { [ "$(shot)" = white ]; }
wait_for counting_minute || fail "the quick start shows no white digits"
echo "quick start: 1 minute from the menu, remembered as $(tr -d '\r' <"$work/app/config.dat" | grep recent)"
key F7

# Idle and not counting, the compositor goes idle after its 2 seconds: it works here.
wait_for gone_idle || fail "swayidle never saw the session idle"
echo "idle file while not counting: present"

# F4: eight seconds with warnings at 5 and 2; the colours follow on screen in order, and
# the compositor stays awake through the countdown and under the finish box.
key F4
wait_for not_idle || fail "the key did not end the idle time"
started=$SECONDS
has_window() { [ -n "$(window_named "$1")" ]; }
no_window() { [ -z "$(window_named "$1")" ]; }
# Idle digits are red as well: the countdown has begun once they turn white.
wait_for counting_minute || fail "F4 shows no white digits"
keep_shot "$work/shot.png" "wayland-stage-white.png"
seen=" white"
last=white
while ! has_window "计时完成提醒"; do
    colour=$(shot)
    # The finish box over the digits is no colour of theirs.
    if [ "$colour" != "$last" ] && [[ "$colour" =~ ^(white|yellow|red)$ ]]; then
        seen="$seen $colour"
        last=$colour
        keep_shot "$work/shot.png" "wayland-stage-$colour.png"
    fi
    not_idle || fail "the compositor went idle while counting"
    [ $((SECONDS - started)) -lt 120 ] || fail "no finish"
done
[ "$seen" = " white yellow red" ] || fail "colours seen while counting:$seen"
echo "colours while counting:$seen"
held_by() { grep -F "$1 by \"zwp_idle_inhibit_manager_v1\"" "$work/program.log" | tail -1; }
[ -n "$(held_by "screen held on")" ] || fail "the screen was not held by zwp_idle_inhibit_manager_v1"
echo "program: $(held_by "screen held on")"
not_idle || fail "the compositor went idle under the finish box"
echo "idle file after $((SECONDS - started)) s without input, counting and under the finish box: absent"
[ ! -s "$work/notifications.log" ] || fail "a notification with the window in sight: $(cat "$work/notifications.log")"
in_session swaymsg '[title="^计时完成提醒$"] focus' >/dev/null
key Return
wait_for no_window "计时完成提醒" || fail "the finish message did not close"
wait_for gone_idle || fail "the compositor did not go idle after the finish"
echo "idle file after the finish: present"
echo "program: $(held_by "screen released")"

# A zero duration runs below zero: aqua digits that blink once a second.
config $'shi=0\r\nfeng=0\r\nmiao=0\r\n'
key F4
expect_blinking aqua wayland-overtime
not_idle || fail "the compositor went idle below zero"
key F7
wait_for steady aqua || fail "the digits still blink after the end"

# Hidden at the finish: the notification, and its click brings the window back.
config $'shi=0\r\nfeng=0\r\nmiao=3\r\nwarn1=0\r\nwarn2=0\r\n'
in_session wtype -s 400 -k F4 -s 300 -k F9
wait_for is_state hidden || fail "F9 did not hide the window: $(main_state)"
notified() { grep -qx '计时完成提醒|您好，您的计时时间已经完成，谢谢使用！' "$work/notifications.log"; }
wait_for notified || fail "no notification at an unseen finish: $(cat "$work/notifications.log") $(cat "$work/dunst.log") $(main_state)"
echo "notification received: $(cat "$work/notifications.log")"
in_session dunstctl action 0
wait_for is_state framed || fail "the notification's click did not bring the window back: $(main_state)"
wait_for has_window "计时完成提醒" || fail "no finish box with the notification"
in_session swaymsg '[title="^计时完成提醒$"] focus' >/dev/null
key Return
wait_for no_window "计时完成提醒" || fail "the finish message did not close"
withdrawn() { [ "$(in_session dunstctl count displayed)" = 0 ]; }
wait_for withdrawn || fail "the notification stayed after the box closed"

key F12
expect_clean_exit
echo "stage end-to-end (Wayland): 1 passed, 0 failed"
