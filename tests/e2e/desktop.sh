# Shared by the command and tray end-to-end scripts: an Xvfb desktop with openbox,
# the program copied beside its settings file, and small X helpers.
# Sourced; expects $program (the built executable).

work=$(mktemp -d)
pids=()
program_pid=""
title="Tarvik倒计时计时器"
# xdotool matches the title only in a UTF-8 locale.
export LC_ALL=C.UTF-8
screen_w=1280
screen_h=800

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

start_desktop() {
    local display=""
    for n in $(seq 120 199); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            display=":$n"
            break
        fi
    done
    [ -n "$display" ] || fail "no free display"
    export DISPLAY=$display
    Xvfb "$display" -screen 0 ${screen_w}x${screen_h}x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    sleep 1
}

tray_pid=""
start_tray() {
    trayer --edge bottom --align right --widthtype pixel --width 64 --height 24 \
        >>"$work/trayer.log" 2>&1 &
    tray_pid=$!
    pids+=($tray_pid)
    for _ in $(seq 50); do
        xwininfo -root -tree | grep -F '("panel" "trayer")' >/dev/null && return
        sleep 0.1
    done
    fail "trayer did not start"
}

# The program with its settings file beside it: the given text, or an empty file
# (the defaults apply).
start_program() {
    cp "$program" "$work/tarvik-timer"
    printf '%s' "${1:-$'[SET]\r\nmp3=\r\n'}" >"$work/config.dat"
    "$work/tarvik-timer" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
}

# The main window: the title followed by the credit line (the tray's own window has
# the bare title).
find_main_window() {
    xdotool search --onlyvisible --name "^$title.+" 2>/dev/null | head -1 || true
}

wait_main_window() {
    window=""
    for _ in $(seq 200); do
        window=$(find_main_window)
        [ -n "$window" ] && return
        sleep 0.1
    done
    fail "the main window did not map"
}

net_state() { xprop -id "$1" _NET_WM_STATE; }
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }

# "x y w h" of the window's outer rectangle on the screen, frame excluded.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

is_full_screen() {
    [[ "$(net_state "$window")" == *_NET_WM_STATE_FULLSCREEN* ]] &&
        [ "$(geometry "$window")" = "0 0 $screen_w $screen_h" ]
}

is_framed_maximised() {
    local state
    state=$(net_state "$window")
    [[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* && "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* &&
        "$state" != *_NET_WM_STATE_FULLSCREEN* && "$(wm_state "$window")" == Normal ]] || return 1
    local x y w h
    read -r x y w h <<<"$(geometry "$window")"
    # The frame's caption takes the top rows of the screen.
    [ "$y" -gt 0 ] && [ "$w" -le "$screen_w" ] && [ "$h" -lt "$screen_h" ]
}

is_minimised() {
    [ "$(wm_state "$window")" = Iconic ]
}

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }

expect_clean_exit() {
    wait_for program_ended || fail "the program is still running"
    local status=0
    wait "$program_pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program exited with status $status"
    if grep -q -E 'Sanitizer|runtime error' "$work/program.log"; then
        fail "sanitizer report"
    fi
}

# The program's open menu.
popup_menu() {
    local w
    for w in $(xdotool search --onlyvisible --classname tarvik-timer 2>/dev/null); do
        # An override-redirect window bigger than the icon: the menu.
        if xwininfo -id "$w" | grep 'Override Redirect State: yes' >/dev/null &&
            [ "$(xwininfo -id "$w" | awk '/Height:/ {print $2}')" -gt 64 ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}
no_popup_menu() { ! popup_menu >/dev/null; }

# Any popup of the program, however low: an override-redirect window wider than the tray
# icon that is not a tooltip (a field's text menu, a completion list).
any_popup() {
    local w
    for w in $(xdotool search --onlyvisible --classname tarvik-timer 2>/dev/null); do
        if xwininfo -id "$w" | grep -q 'Override Redirect State: yes' &&
            [ "$(xwininfo -id "$w" | awk '/Width:/ {print $2}')" -gt 64 ] &&
            ! xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q TOOLTIP; then
            echo "$w"
            return 0
        fi
    done
    return 1
}
no_popup() { ! any_popup >/dev/null; }

# The tray icon's own window carries the bare title and the program's class (as does the
# open menu, which is larger).
find_icon() {
    xwininfo -root -tree | grep -F "\"$title\": (\"tarvik-timer\"" |
        awk '{ split($(NF-1), size, /[x+]/); if (size[1] <= 64 && size[2] <= 64) { print $1; exit } }' ||
        true
}
icon_docked() {
    local icon parent root
    icon=$(find_icon)
    [ -n "$icon" ] || return 1
    root=$(xwininfo -root 2>/dev/null | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    parent=$(xwininfo -children -id "$icon" | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    [ -n "$parent" ] && [ "$parent" != "$root" ]
}
icon_centre() {
    xwininfo -id "$(find_icon)" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print int(x + w / 2), int(y + h / 2)}'
}
click_icon() { # button [count]
    local x y
    read -r x y <<<"$(icon_centre)"
    xdotool mousemove "$x" "$y" sleep 0.2 click --repeat "${2:-1}" --delay 80 "$1"
}

press() {
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers "$@"
}
