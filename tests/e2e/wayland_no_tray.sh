#!/usr/bin/env bash
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
sleep 1.5 # past the program's first look for a tray
grep -q -E 'QObject::connect|No such signal' "$work/program.log" && fail "X11 warnings in the log"

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
        sleep 0.5
        got=$(main_state)
        detail=$(main_window | jq -r '"fullscreen_mode \(.fullscreen_mode), visible \(.visible), \(.type), border \(.border), \(.rect.width)x\(.rect.height)+\(.rect.x)+\(.rect.y)"')
        echo "| $k | $from | $got: $detail |" >>"$table"
        [ "$got" = "$want" ] || fail "$k from $from: $got, expected $want"
    done
done
cat "$table"

# After F9 the keys still reach the window: the countdown runs on the full screen.
key F9
sleep 0.5
key F10
wait_for is_state full || fail "F10 after F9: $(main_state)"
red_digits() {
    convert "$1" -crop 800x240+240+280 +repage -fuzz 25% -fill white -opaque '#FF0000' \
        -fill black +opaque white -format '%[fx:mean]' info:
}
screenshot "$work/idle.png"
key F4
sleep 1.5
screenshot "$work/running.png"
awk -v f="$(red_digits "$work/running.png")" 'BEGIN { exit !(f > 0.01) }' || fail "no red digits while counting"
n=$(compare -metric AE "$work/idle.png" "$work/running.png" null: 2>&1 || true)
[ "${n%% *}" != 0 ] || fail "the display did not change after F4"
sleep 1.2
screenshot "$work/later.png"
n=$(compare -metric AE "$work/running.png" "$work/later.png" null: 2>&1 || true)
[ "${n%% *}" != 0 ] || fail "the countdown did not move on"

key F12
expect_clean_exit
grep -q -E 'QObject::connect|No such signal' "$work/program.log" && fail "X11 warnings in the log"
echo "wayland without a tray end-to-end: 1 passed, 0 failed"
