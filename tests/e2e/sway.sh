# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the Wayland end-to-end scripts: a headless sway with its own session bus,
# run as an ordinary user (sway will not run as root), the program copied beside its
# settings file, and helpers that read the compositor's view of the windows.
# Sourced; expects $program (the built executable).

title="Tarvik倒计时计时器"
export LC_ALL=C.UTF-8
screen_w=${screen_w:-1280}
screen_h=${screen_h:-800}
# A second output right of the first when set (WIDTHxHEIGHT), with Xwayland's display
# written to $work/run/display; the program runs on Qt's "wayland" plugin unless
# qt_platform says otherwise.
second_output=${second_output:-}
qt_platform=${qt_platform:-wayland}
program_display=${program_display:-}
e2e_user=tarvik-e2e

work=$(mktemp -d)
chmod 755 "$work"
session_pid=""
program_pid=""

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
    [ -f "$work/sway.log" ] && tail -20 "$work/sway.log" | sed 's/^/sway: /' >&2
    # The screenshots taken so far, to look at.
    if compgen -G "$work/*.png" >/dev/null; then
        mkdir -p wayland-failure
        cp "$work"/*.png wayland-failure/
        echo "screenshots in $PWD/wayland-failure" >&2
    fi
    exit 1
}

cleanup() {
    [ ! -s "$work/run/keyboard.pid" ] || kill "$(cat "$work/run/keyboard.pid")" 2>/dev/null || true
    # The session's process group: dbus-daemon, sway, swaybar and the program.
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    [ -z "${monitor_pid:-}" ] || kill "$monitor_pid" 2>/dev/null || true
    [ -z "$session_pid" ] || kill -- -"$session_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Root runs everything as an ordinary user made for the purpose; anyone else as himself.
if [ "$(id -u)" -eq 0 ]; then
    id "$e2e_user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin "$e2e_user" ||
        fail "could not create the user $e2e_user"
    chown "$e2e_user" "$work"
    run_as=(runuser -u "$e2e_user" --)
else
    run_as=()
fi
as_user() { "${run_as[@]}" "$@"; }

# Runs a command in the session: its Wayland display, bus and sway's socket.
in_session() {
    as_user env XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY=wayland-1 HOME="$work" \
        DBUS_SESSION_BUS_ADDRESS="$(cat "$work/run/bus")" SWAYSOCK="$(echo "$work"/run/sway-ipc.*.sock)" \
        "$@"
}

source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

# sway on a 1280×800 headless output; with "tray", swaybar at the bottom with a tray,
# which is also the session's StatusNotifierItem watcher and host.
start_sway() {
    mkdir -p "$work/run"
    chmod 700 "$work/run"
    [ "$(id -u)" -ne 0 ] || chown "$e2e_user" "$work/run"
    {
        echo "output HEADLESS-1 resolution ${screen_w}x${screen_h} position 0 0"
        echo "default_border normal"
        if [ -n "$second_output" ]; then
            echo "output HEADLESS-2 resolution ${second_output} position ${screen_w} 0"
            echo "exec sh -c 'echo \$DISPLAY >$work/run/display'"
        fi
        if [ "${1:-}" = tray ]; then
            printf 'bar {\n    position bottom\n    tray_output *\n}\n'
        fi
        # The seat's pointer and a keyboard that stay for the whole session: each program
        # finds them when it starts, and the focused window stays active between keys (a
        # seat without a keyboard deactivates it). The pointer ends with its input; the
        # keyboard, in a process group of its own, is ended by its number.
        echo "exec env VPOINTER_WIDTH=$screen_w VPOINTER_HEIGHT=$screen_h python3 $work/vpointer.py <$work/pointer.in >$work/pointer.out"
        echo "exec sh $work/keyboard.sh"
    } >"$work/sway.conf"
    printf 'echo $$ >%s/run/keyboard.pid\nexec wtype -s 86400000\n' "$work" >"$work/keyboard.sh"
    mkfifo -m 600 "$work/pointer.in" "$work/pointer.out"
    [ "$(id -u)" -ne 0 ] || chown "$e2e_user" "$work/pointer.in" "$work/pointer.out"
    cat >"$work/session.sh" <<EOF
echo "\$DBUS_SESSION_BUS_ADDRESS" >"$work/run/bus"
exec sway -c "$work/sway.conf"
EOF
    # A process group of its own, ended as a whole at the end.
    setsid "${run_as[@]}" env XDG_RUNTIME_DIR="$work/run" HOME="$work" WLR_BACKENDS=headless \
        WLR_HEADLESS_OUTPUTS=$([ -n "$second_output" ] && echo 2 || echo 1) \
        WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        dbus-run-session -- sh "$work/session.sh" >"$work/sway.log" 2>&1 &
    session_pid=$!
    sway_up() { [ -S "$work/run/wayland-1" ] && [ -s "$work/run/bus" ] && in_session swaymsg -t get_version >/dev/null 2>&1; }
    wait_for sway_up || fail "sway did not start"
    # The accessibility bus, up before any program (which reports its widgets there
    # only if it finds it at its start).
    in_session gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >/dev/null || fail "no accessibility bus"
    # Opened for reading and writing, the pipes do not wait for the other end.
    exec {pointer_steps}<>"$work/pointer.in" {pointer_done}<>"$work/pointer.out"
    seat_ready() {
        in_session swaymsg -t get_inputs | jq -e 'map(.type) | index("pointer") and index("keyboard")' >/dev/null
    }
    wait_for seat_ready || fail "no virtual pointer and keyboard: $(in_session swaymsg -t get_inputs | jq -c 'map([.name, .type])')"
}

watcher_items() {
    in_session busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null
}

# The address sanitizer's settings for the program in the session. Allocations are unwound
# in full: the Mesa driver that Qt's Wayland plugin loads for EGL has no frame pointers, and
# the suppression of its leak names a frame beyond it.
session_asan_options() { echo "${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}fast_unwind_on_malloc=0"; }

# The program with its settings file beside it: the given text, or one with no sound.
start_program() {
    mkdir -p "$work/app"
    cp "$program" "$work/app/tarvik-timer"
    cp "$(dirname "$program")"/libtarvik-*.so "$work/app/"
    printf '%s' "${1:-$'[SET]\r\nmp3=\r\n'}" >"$work/app/config.dat"
    # The leak suppressions beside it, where the user can read them.
    local lsan=${LSAN_OPTIONS:-}
    if [[ "$lsan" =~ suppressions=([^:]*) ]]; then
        cp "${BASH_REMATCH[1]}" "$work/app/lsan.supp"
        lsan=${lsan/${BASH_REMATCH[1]}/$work/app/lsan.supp}
    fi
    [ "$(id -u)" -ne 0 ] || chown -R "$e2e_user" "$work/app"
    in_session env QT_QPA_PLATFORM="$qt_platform" ${program_display:+DISPLAY="$program_display"} ${program_env:-} \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ASAN_OPTIONS="$(session_asan_options)" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" LSAN_OPTIONS="$lsan" \
        "$work/app/tarvik-timer" >"$work/program.log" 2>&1 &
    program_pid=$!
}

# The compositor's tree, flattened to the program's windows: one JSON object a line.
windows() {
    in_session swaymsg -t get_tree | jq -c '.. | objects | select(.app_id? == "io.github.tarvik.Timer"
        or .window_properties?.instance? == "tarvik-timer")
        | {name, fullscreen_mode, visible, focused, type, border, rect, deco_rect}'
}
main_window() { windows | jq -c "select(.name | startswith(\"$title \"))"; }
window_named() { windows | jq -c --arg n "$1" 'select(.name == $n)'; }

# The main window's display mode as the compositor has it: full (full screen, no
# frame), framed (tiled over the whole workspace, with its title bar), hidden (no
# window in the tree) or something else, printed as found.
main_state() {
    local w
    w=$(main_window)
    if [ -z "$w" ]; then
        echo hidden
    elif [ "$(jq -r '"\(.fullscreen_mode) \(.visible) \(.rect.width)x\(.rect.height)"' <<<"$w")" = "1 true ${screen_w}x${screen_h}" ]; then
        echo full
    elif [ "$(jq -r '"\(.fullscreen_mode) \(.visible) \(.border) \(.type) \(.rect.width)"' <<<"$w")" = "0 true normal con $screen_w" ]; then
        echo framed
    else
        echo "other: $w"
    fi
}
is_state() { [ "$(main_state)" = "$1" ]; }

# One key from a new virtual keyboard; the pause lets the client take its keymap.
key() { in_session wtype -s 400 -k "$@"; }

# The session's pointer (see vpointer.py and start_sway) runs steps (move X Y, click
# BUTTON, double BUTTON); pointer returns once the compositor has them.
cp "$(dirname "${BASH_SOURCE[0]}")/vpointer.py" "$(dirname "${BASH_SOURCE[0]}")/layout.py" "$work/"
chmod 644 "$work/vpointer.py" "$work/layout.py"
pointer() {
    local answer=""
    echo "$*" >&"$pointer_steps"
    read -r -t 10 answer <&"$pointer_done" || true
    [ "$answer" = ok ] || fail "the virtual pointer did not take: $*"
}

# The program's widgets as its accessibility interface has them (see layout.py; the
# rectangles are the window's own on Wayland), and the one with the keyboard focus.
widgets() { in_session timeout 10 /usr/bin/python3 "$work/layout.py" "$title" 2>/dev/null || true; }
focused_widget() { widgets | awk -F'\t' '$7 ~ /focused/ { print $1, $2, $3, $4 }' | tail -1; }

# A key whose effect can be read back and that changes nothing else: Tab moves the
# focus on in the window that has it. Once the focus has moved, every input sent before
# the key has been handled. Waits for that, or fails.
prove_delivered() { # what was sent, for the failure message
    local before
    have_focus() { before=$(focused_widget); [ -n "$before" ]; }
    wait_for have_focus || fail "no focused widget to prove '$1' with: $(widgets | cut -f1-7 | tr '\t\n' ' ;')"
    key Tab
    # On to another of the window's controls: an open menu would take the key as a step
    # through its items.
    local after=""
    focus_moved() {
        after=$(focused_widget)
        [ -n "$after" ] && [ "$after" != "$before" ] && [[ "$after" != "menu item "* ]]
    }
    wait_for focus_moved || fail "Tab after '$1' did not arrive: the focus went from $before to '$after'"
    in_session wtype -s 400 -M shift -k Tab -m shift
    focus_back() { [ "$(focused_widget)" = "$before" ]; }
    wait_for focus_back || fail "Shift+Tab did not bring the focus back to $before"
}

screenshot() { in_session grim "$1"; }

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
