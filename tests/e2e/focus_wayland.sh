#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The keyboard focus and the framed place on headless sway with swaybar's tray and two
# outputs: a 1280×720 one and a 1920×1080 one to its right, the program set to go full
# screen on the second (monitor=2). Nothing is focused by hand: the keys go wherever the
# compositor left the focus. The window has it when it first shows, after the save
# confirmation, the finish message and the settings dialog close, and after a click on the
# tray icon brings it back; F8 after a hide and the tray's full screen returns the framed
# window to the first output, where it was. Prints the focus at each step.
set -euo pipefail
program=$1
screen_w=1280 screen_h=720 second_output=1920x1080
source "$(dirname "$0")/sway.sh"
layout_w=$((1280 + 1920)) layout_h=1080

main_rect() { main_window | jq -r '"\(.fullscreen_mode) \(.rect.x),\(.rect.y) \(.rect.width)x\(.rect.height)"'; }
framed_on_first() {
    local r
    r=$(main_rect)
    [[ "$r" =~ ^0\ ([0-9]+), ]] && [ "${BASH_REMATCH[1]}" -lt "$screen_w" ]
}
full_on_second() { [ "$(main_rect)" = "1 $screen_w,0 1920x1080" ]; }
hidden() { [ -z "$(main_window)" ]; }
focused_name() { in_session swaymsg -t get_tree | jq -r '.. | objects | select(.focused? == true) | .name'; }
main_focused() { [ "$(main_window | jq -r .focused)" = true ]; }
show_focus() { echo "$1: focus on \"$(focused_name)\"; main window $(main_rect)"; }
expect_focus() {
    wait_for main_focused || { show_focus "$1" >&2; fail "$1: the main window has not the focus"; }
    show_focus "$1"
}
has_window() { [ -n "$(window_named "$1")" ]; }
no_window() { [ -z "$(window_named "$1")" ]; }
has_item() { watcher_items | grep -q StatusNotifierItem; }
named_focused() { [ "$(window_named "$1" | jq -r .focused)" = true ]; }
# The tray's icon at the right end of the first output's bar; the pointer's coordinates
# span both outputs.
tray_click() {
    in_session env VPOINTER_WIDTH=$layout_w VPOINTER_HEIGHT=$layout_h python3 "$work/vpointer.py" \
        move $((screen_w - 11)) $((screen_h - 12)) click left
}

start_sway tray
in_session swaymsg -t get_outputs | jq -e 'length == 2' >/dev/null || fail "sway has no two outputs"
start_program $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=2\r\nmp3=\r\nmonitor=2\r\n'
wait_for framed_on_first || fail "not framed on the first output at start: $(main_rect)"
wait_for has_item || fail "no StatusNotifierItem registered"
expect_focus "first shown"

# The save confirmation from the keyboard: Tab from the total counter past the two other
# counters and the three duration fields to the save button.
for _ in 1 2 3 4 5 6; do key Tab; done
key space
wait_for has_window 确认 || fail "no save confirmation from the keyboard"
wait_for named_focused 确认 || fail "the confirmation has not the focus"
show_focus "confirmation open"
key Return
wait_for no_window 确认 || fail "Return did not close the confirmation"
expect_focus "after the confirmation"
key F4
wait_for has_window 计时完成提醒 || fail "F4 after the confirmation started no countdown"
wait_for named_focused 计时完成提醒 || fail "the finish message has not the focus"
key Return
wait_for no_window 计时完成提醒 || fail "Return did not close the finish message"
expect_focus "after the finish message"

# The settings dialog, closed by its close box.
key F11
wait_for has_window 参数设置 || fail "F11 opened no settings dialog"
wait_for named_focused 参数设置 || fail "the settings dialog has not the focus"
in_session swaymsg '[title="^参数设置$"] kill' >/dev/null
wait_for no_window 参数设置 || fail "the settings dialog did not close"
expect_focus "after the settings dialog"

# Two monitors: F10 on the second, F9 into the tray, the icon brings it back full screen on
# the second with the focus, and F8 returns it to the first.
key F10
wait_for full_on_second || fail "F10: not full screen on the second output: $(main_rect)"
key F8
wait_for framed_on_first || fail "F8: not framed on the first output: $(main_rect)"
key F10
wait_for full_on_second || fail "F10 again: $(main_rect)"
key F9
wait_for hidden || fail "F9 did not hide the window: $(main_rect)"
tray_click
wait_for full_on_second || fail "the tray did not bring the window back full screen on the second output: $(main_rect)"
expect_focus "brought back by the icon"
key F8
wait_for framed_on_first || fail "F8 after a hide: not back on the first output: $(main_rect)"
show_focus "F8 after the hide"
key F12
expect_clean_exit
echo "focus end-to-end (sway): 1 passed, 0 failed"
