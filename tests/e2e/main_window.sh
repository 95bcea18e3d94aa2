#!/usr/bin/env bash
# The real program under Xvfb and openbox: the window maps maximised with its title,
# shows the configured colours, the start button runs a countdown to its finish
# message, and closing the window ends the program cleanly.
set -euo pipefail

program=$1
work=$(mktemp -d)
display=""
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
    exit 1
}

# A free display number.
for n in $(seq 91 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || fail "no free display"
export DISPLAY=$display

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# The settings file lives beside the executable.
cp "$program" "$work/tarvik-timer"
printf '[SET]\r\nshi=0\r\nfeng=0\r\nmiao=4\r\nqiancolor=clYellow\r\nbeicolor=$00808000\r\nmp3=\r\n' \
    >"$work/config.dat"

"$work/tarvik-timer" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)

title="Tarvik倒计时计时器"
window=""
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name "^$title" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || fail "the main window did not map"

name=$(xdotool getwindowname "$window")
[[ "$name" == "$title"* ]] || fail "title is '$name'"
[ "$name" != "$title" ] || fail "the title has no credit after the product name"

for _ in $(seq 50); do
    state=$(xprop -id "$window" _NET_WM_STATE)
    [[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* && "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] && break
    sleep 0.1
done
[[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* ]] || fail "not maximised: $state"
[[ "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] || fail "not maximised: $state"
# Without a notification area the taskbar entry stays, so the window can come back.
[[ "$state" != *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "taskbar entry dropped without a tray"
sleep 1

# The display: teal background, yellow digits.
import -window root "$work/before.png"
pixel=$(convert "$work/before.png" -format '%[pixel:p{60,500}]' info:)
case "$pixel" in
    "srgb(0,128,128)" | "rgb(0,128,128)") ;;
    *) fail "display background is $pixel" ;;
esac
yellow=$(convert "$work/before.png" -crop 1280x600+0+150 +repage -fill black +opaque '#FFFF00' \
    -fill white -opaque '#FFFF00' -format '%[fx:mean]' info:)
awk -v f="$yellow" 'BEGIN { exit !(f > 0.005) }' || fail "no yellow digits (fraction $yellow)"

# The start button sits at 371,18 (60 wide) in the top panel.
xdotool mousemove --window "$window" 400 30 click 1
sleep 1.6
import -window root "$work/running.png"
changed=$(compare -metric AE "$work/before.png" "$work/running.png" null: 2>&1 || true)
[ "${changed%% *}" != "0" ] || fail "the display did not change after the start button"

# Four seconds later the finish message appears.
box=""
for _ in $(seq 200); do
    box=$(xdotool search --onlyvisible --name "计时完成提醒" 2>/dev/null | head -1 || true)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no finish message"
xdotool windowactivate --sync "$box" key Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name "计时完成提醒" >/dev/null 2>&1 || break
    sleep 0.1
done

# Once a notification area appears, the program leaves the taskbar.
trayer --edge bottom --align right --widthtype pixel --width 64 --height 24 >"$work/trayer.log" 2>&1 &
pids+=($!)
for _ in $(seq 80); do
    state=$(xprop -id "$window" _NET_WM_STATE)
    [[ "$state" == *_NET_WM_STATE_SKIP_TASKBAR* ]] && break
    sleep 0.1
done
[[ "$state" == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "still on the taskbar with a tray: $state"

# Closing the window ends the program.
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then
    fail "the program is still running after its window was closed"
fi
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || fail "the program exited with status $status"
if grep -q -E 'Sanitizer|runtime error' "$work/program.log"; then
    fail "sanitizer report"
fi
echo "main window end-to-end: 1 passed, 0 failed"
