# SPDX-License-Identifier: GPL-3.0-or-later
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

source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    # The accessibility bus's launcher, started by the session bus on the first request.
    [ -z "${a11y_pid:-}" ] || kill "$a11y_pid" 2>/dev/null || true
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
    # No reset when the last client leaves: the next one (openbox after xdpyinfo) could come
    # in the middle of it and be refused.
    Xvfb "$display" -screen 0 ${screen_w}x${screen_h}x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    x_up() { xdpyinfo >/dev/null 2>&1; }
    wait_for x_up || fail "Xvfb did not start"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_up_to 30 wm_running || fail "openbox did not start: $(cat "$work/openbox.log")"
    start_session_bus
}

# The window manager has taken over the screen: its check window names it.
wm_running() {
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p')
    [ -n "$check" ] && xprop -id "$check" _NET_WM_NAME 2>/dev/null | grep -q Openbox
}

# A session bus of the desktop's own, through which the scripts read the program's widgets
# (layout.py); the program reports them on the accessibility bus it starts.
a11y_pid=""
start_session_bus() {
    local address pid
    { read -r address; read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    [ -n "$pid" ] || fail "no session bus"
    pids+=($pid)
    export DBUS_SESSION_BUS_ADDRESS=$address QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    # The launcher starts with the first question; asked now, its process is known.
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >/dev/null || fail "no accessibility bus"
    a11y_pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID org.a11y.Bus | sed -n "s/.*uint32 \([0-9]*\).*/\1/p")
}

tray_pid=""
start_tray() {
    trayer --edge bottom --align right --widthtype pixel --width 64 --height 24 \
        >>"$work/trayer.log" 2>&1 &
    tray_pid=$!
    pids+=($tray_pid)
    tray_up() { xwininfo -root -tree | grep -F '("panel" "trayer")' >/dev/null; }
    wait_for tray_up || fail "trayer did not start"
}

# The program with its settings file beside it: the given text, or an empty file
# (the defaults apply).
start_program() {
    cp "$program" "$work/tarvik-timer"
    # The program's modules (the sound, the web remote's network), loaded from beside it.
    cp "$(dirname "$program")"/libtarvik-*.so "$work/"
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
    main_window_mapped() { window=$(find_main_window); [ -n "$window" ]; }
    wait_up_to 20 main_window_mapped || fail "the main window did not map"
}

net_state() { xprop -id "$1" _NET_WM_STATE; }
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }

# "x y w h" of the window's outer rectangle on the screen, frame excluded.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

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
    xdotool mousemove "$x" "$y" click --repeat "${2:-1}" --delay 80 "$1"
}

press() {
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers "$@"
}

# The program's widgets on screen, one a line: role, name, x, y, width, height, states
# (tab-separated; see layout.py).
widgets() { timeout 10 /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/layout.py" "$title" 2>/dev/null || true; }
# "x y w h" of the first widget with this role and name (an empty name matches any),
# optionally the n-th from the left of those.
widget_rect() { # role name [n]
    widgets | awk -F'\t' -v role="$1" -v name="$2" '$1 == role && (name == "" || $2 == name) {
        print $3, $4, $5, $6 }' | sort -n -k1,1 -k2,2 | sed -n "${3:-1}p"
}
has_widget() { [ -n "$(widget_rect "$@")" ]; }
# The centre of that widget, "x y".
widget_centre() { # role name [n]
    local x y w h
    wait_for has_widget "$@" || true
    read -r x y w h <<<"$(widget_rect "$@")"
    [ -n "$h" ] || fail "no $1 '$2' among the program's widgets: $(widgets | cut -f1-6 | tr '\t\n' ' ;')"
    echo $((x + w / 2)) $((y + h / 2))
}
# The widget that has the keyboard focus: "role name x y".
focused_widget() { widgets | awk -F'\t' '$7 ~ /focused/ { print $1, $2, $3, $4 }' | tail -1; }
is_checked() { # role name
    widgets | awk -F'\t' -v role="$1" -v name="$2" '$1 == role && $2 == name && $7 ~ /checked/ { f = 1 }
        END { exit !f }'
}

# Proof that the window manager has handled every request the program made so far: a
# window of the script's own, mapped now, is managed only after what came before it.
# (It takes no focus, so the program's window keeps it.)
wm_sync() {
    local w
    xmessage -name tarvik-e2e-sync -xrm '*input: false' -geometry +0+0 sync >/dev/null 2>&1 &
    local pid=$!
    managed() { w=$(xdotool search --name '^tarvik-e2e-sync$' 2>/dev/null | head -1); [ -n "$w" ] && [ -n "$(wm_state "$w")" ]; }
    wait_for managed || { kill "$pid"; fail "the window manager did not take a new window"; }
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

# A key whose effect can be read back and that changes nothing else: Tab moves the
# focus on in the window that has it. Once the focus has moved, every input sent before
# the key has been handled. Waits for that, or fails.
# The key goes where the input went, to the program's active window: activating it here
# would prove nothing about what was sent before.
prove_delivered() { # what was sent, for the failure message
    local before
    have_focus() { before=$(focused_widget); [ -n "$before" ]; }
    wait_for have_focus || fail "no focused widget in the program to prove '$1' with (another window active?)"
    xdotool key Tab
    # On to another of the window's controls: an open menu would take the key as a step
    # through its items.
    local after=""
    focus_moved() {
        after=$(focused_widget)
        [ -n "$after" ] && [ "$after" != "$before" ] && [[ "$after" != "menu item "* ]]
    }
    wait_for focus_moved || fail "Tab after '$1' did not arrive: the focus went from $before to '$after'"
    xdotool key shift+Tab
    focus_back() { [ "$(focused_widget)" = "$before" ]; }
    wait_for focus_back || fail "Shift+Tab did not bring the focus back to $before"
}
# "x y w h" of the nearest widget of the role right of the label, on its row (fields
# carry no name of their own; their label tells them apart).
widget_right_of() { # label role
    widgets | awk -F'\t' -v label="$1" -v role="$2" '
        $1 == "label" && $2 == label && !found { lx = $3 + $5; ly = $4 + $6 / 2; found = 1 }
        $1 == role { n++; x[n] = $3; y[n] = $4; w[n] = $5; h[n] = $6 }
        END {
            if (!found) exit 1
            for (i = 1; i <= n; i++)
                if (x[i] >= lx - 2 && y[i] <= ly && y[i] + h[i] >= ly && (!best || x[i] < x[best])) best = i
            if (best) print x[best], y[best], w[best], h[best]
        }'
}
centre_of() { # x y w h
    [ -n "${4:-}" ] || return 1
    echo $(($1 + $3 / 2)) $(($2 + $4 / 2))
}
