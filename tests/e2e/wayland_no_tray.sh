#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a Wayland compositor (headless sway) with a session bus but no
# StatusNotifierItem host: no icon and no X11 warnings, hidden display only asks to
# minimise (sway has no minimised state, so the window stays on screen and the keys
# keep reaching it), the other display keys from every mode, the countdown on the
# full screen, and F12.
# Leaves wayland_no_tray_states.md (the measured state table) in the working directory.
set -euo pipefail
program=$1
source "$(dirname "$0")/sway.sh"

start_sway
start_program $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=30\r\nmp3=\r\n'
wait_for is_state framed || fail "not framed at start: $(main_state)"

table="wayland_no_tray_states.md"
{
    echo "| key | from | compositor state after the key |"
    echo "|---|---|---|"
} >"$table"
for from in framed full; do
    for k in F10 F8 F9; do
        case "$k" in
            F10) want=full ;;
            *) want=framed ;; # the minimise request is ignored: still reachable
        esac
        if [ "$from" = full ]; then key F10; else key F8; fi
        wait_for is_state "$from" || fail "could not reach $from: $(main_state)"
        key "$k"
        wait_for is_state "$want" || true
        # Read once a later key has been handled (F9 only asks to minimise, which sway
        # ignores: nothing changes to wait for).
        prove_delivered "$k from $from"
        got=$(main_state)
        detail=$(main_window | jq -r '"fullscreen_mode \(.fullscreen_mode), visible \(.visible), \(.type), border \(.border), \(.rect.width)x\(.rect.height)+\(.rect.x)+\(.rect.y)"')
        echo "| $k | $from | $got: $detail |" >>"$table"
        [ "$got" = "$want" ] || fail "$k from $from: $got, expected $want"
    done
done
cat "$table"
# The first look for a tray, at the start, came long before the keys just handled.
grep -q -E 'QObject::connect|No such signal' "$work/program.log" && fail "X11 warnings in the log"

# After F9 the keys still reach the window: the countdown runs on the full screen.
key F9
key F10
wait_for is_state full || fail "F10 after F9: $(main_state)"
red_digits() {
    convert "$1" -crop 800x240+240+280 +repage -fuzz 25% -fill white -opaque '#FF0000' \
        -fill black +opaque white -format '%[fx:mean]' info:
}
screenshot "$work/idle.png"
key F4
differs() {
    local n
    n=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "${n%% *}" != 0 ]
}
counting_shown() {
    screenshot "$work/running.png"
    awk -v f="$(red_digits "$work/running.png")" 'BEGIN { exit !(f > 0.01) }' &&
        differs "$work/idle.png" "$work/running.png"
}
wait_for counting_shown || fail "no red digits that changed after F4"
moved_on() { screenshot "$work/later.png" && differs "$work/running.png" "$work/later.png"; }
wait_for moved_on || fail "the countdown did not move on"

key F12
expect_clean_exit
grep -q -E 'QObject::connect|No such signal' "$work/program.log" && fail "X11 warnings in the log"
echo "wayland without a tray end-to-end: 1 passed, 0 failed"
