#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line and the bus interface on the real program, under a private session bus
# and Xvfb with openbox: a second launch with a duration (the window counts down and the
# finish box appears) and the PropertiesChanged it announces; --pause, --resume, --status; a
# refused command; the bad inputs, with the running program unchanged; busctl and dbus-send
# calls with their errors; a launch beside a program without the session lock; the display
# modes and the launch without options; --quit; a launch without a session bus.
# Leaves cli_errors.txt (the error lines of the bad inputs) in the working directory.
set -euo pipefail
program=$1
if [ -z "${TARVIK_E2E_IN_BUS:-}" ]; then
    TARVIK_E2E_IN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/desktop.sh"
# A session's runtime folder, where the running program holds its lock.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

service=io.github.tarvik.Timer
object=/io/github/tarvik/Timer
interface=io.github.tarvik.Timer1

# A launch of the program: its status in $status, its output in $out and $err.
launch() {
    status=0
    "$work/tarvik-timer" "$@" >"$work/out" 2>"$work/err" || status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}
expect() { # status, stdout, stderr, arguments...
    local want_status=$1 want_out=$2 want_err=$3
    shift 3
    launch "$@"
    [ "$status" = "$want_status" ] && [ "$out" = "$want_out" ] && [ "$err" = "$want_err" ] ||
        fail "tarvik-timer $*: status $status, output \"$out\", errors \"$err\""
}
property() { busctl --user get-property "$service" "$object" "$interface" "$1" | cut -d' ' -f2- | tr -d '"'; }
status_is() { [ "$("$work/tarvik-timer" --status 2>&1)" = "$1" ]; }
windows_of_program() { xdotool search --onlyvisible --classname tarvik-timer 2>/dev/null | sort; }
box_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

start_desktop
start_program $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=30\r\nmp3=\r\n'
wait_main_window
owned() { busctl --user status "$service" >/dev/null 2>&1; }
wait_for owned || fail "the program did not take the name $service"
expect 0 "idle 00:00:00" "" --status

# The interface as introspected.
busctl --user introspect "$service" "$object" "$interface" >"$work/introspect"
for member in Start StartUntil Pause Resume End SetDisplay SetMonitor Present Quit \
    State Total Elapsed Remaining Display DisplayMode; do
    grep -q "^\.$member " "$work/introspect" || fail "introspection lacks $member"
done

# Every announcement of the object, one a line.
dbus-monitor --session "type='signal',path='$object',interface='org.freedesktop.DBus.Properties'" \
    >"$work/monitor" 2>&1 &
pids+=($!)
# Becoming a monitor, it loses its own name.
monitor_up() { grep -q 'member=NameLost' "$work/monitor"; }
wait_for monitor_up || fail "dbus-monitor did not start: $(cat "$work/monitor")"
# The changed properties of each announcement: "Remaining=1 Elapsed=1 Display=00:00:01".
announcements() {
    awk '/member=PropertiesChanged/ { if (line != "") print line; line = ""; n = 1; next }
        n && /string "[A-Za-z]+"$/ && key == "" { gsub(/"/, "", $2); key = $2; next }
        n && key != "" && /variant/ { v = $0; sub(/.*variant +[a-z0-9]+ /, "", v); gsub(/"/, "", v); line = line key "=" v " "; key = ""; next }
        END { if (line != "") print line }' "$work/monitor"
}

# A refused command: exit 1 with the reason, no box, nothing changed.
before=$(windows_of_program)
expect 1 "" "tarvik-timer: cannot pause: no countdown is running" --pause
expect 1 "" "tarvik-timer: cannot resume: no countdown is paused" --resume
expect 1 "" "tarvik-timer: cannot end: no countdown is running" --end
[ "$(windows_of_program)" = "$before" ] || fail "a refused command opened a window"
expect 0 "idle 00:00:00" "" --status

# Bad input: exit 2, one line naming the value, nothing changed.
: >cli_errors.txt
for input in 12x -5m 0 1:75 2147483648 "--until 25:00" "--monitor abc" "5m 10m"; do
    # shellcheck disable=SC2086
    launch $input
    [ "$status" = 2 ] || fail "tarvik-timer $input: status $status"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "tarvik-timer $input: not one line: $err"
    value=${input##* }
    [[ "$err" == *"\"$value\""* ]] || fail "tarvik-timer $input: the value is not named: $err"
    printf 'tarvik-timer %s\n  %s\n' "$input" "$err" >>cli_errors.txt
done
[ "$(windows_of_program)" = "$before" ] || fail "bad input opened a window"
expect 0 "idle 00:00:00" "" --status

# A second launch with a duration: the window counts it down and shows the finish box.
expect 0 "" "" 2s
wait_for box_shown 计时完成提醒 || fail "no finish box after the 2s countdown"
[ "$(property State)" = idle ] || fail "state after the finish: $(property State)"
finished_at=$(date +%s%N)
xdotool search --onlyvisible --name '^计时完成提醒$' | head -1 | xargs -I{} xdotool windowactivate --sync {} key Return
wait_for_not_box() { ! box_shown 计时完成提醒; }
wait_for wait_for_not_box || fail "the finish box did not close"

# The announcements of that countdown: the start, then one per tick with the remaining
# seconds, elapsed and display together, and the state back to idle at the last.
announcements >"$work/announced"
tick() { grep -q "^Display=$1 Elapsed=$2 Remaining=$3 \$" "$work/announced"; }
grep -q 'State=running Total=2' "$work/announced" &&
    tick 00:00:01 1 1 && tick 00:00:00 2 0 &&
    [ "$(grep -c 'Remaining=' "$work/announced")" = 3 ] &&
    [ "$(tail -1 "$work/announced")" = "State=idle " ] ||
    fail "announcements of the 2s countdown: $(cat "$work/announced")"
# Nothing while idle: a tick would come within a second, so two seconds after the finish,
# and after a change that is announced (which proves the watch still hears the program),
# no remaining seconds have been announced again.
two_seconds_on() { [ $(($(date +%s%N) - finished_at)) -gt 2000000000 ]; }
wait_for two_seconds_on
expect 0 "" "" --full-screen
wait_for is_full_screen || fail "--full-screen: not full screen"
announced_full() { announcements | grep -q 'DisplayMode=full-screen'; }
wait_for announced_full || fail "no DisplayMode announcement: $(announcements)"
[ "$(announcements | grep -c 'Remaining=')" = "$(grep -c 'Remaining=' "$work/announced")" ] ||
    fail "announcements while idle: $(announcements)"

# Pause, resume and status on a long countdown.
expect 0 "" "" --start 1h
wait_for status_is "running 00:59:59" || fail "status while running: $("$work/tarvik-timer" --status)"
expect 1 "" "tarvik-timer: cannot start: a countdown is running; end it first" 5m
expect 0 "" "" --pause
launch --status
[[ "$out" =~ ^paused\ 00:59:5[0-9]$ ]] || fail "status while paused: $out"
paused_display=${out#paused }
expect 1 "" "tarvik-timer: cannot pause: the countdown is paused already" --pause
expect 1 "" "tarvik-timer: cannot start: a countdown is paused; resume or end it first" --start
expect 0 "paused $paused_display" "" --status
expect 0 "" "" --resume
launch --status
[[ "$out" =~ ^running\ 00:5[0-9]:[0-5][0-9]$ ]] || fail "status after resume: $out"
expect 1 "" "tarvik-timer: cannot resume: the countdown is running, not paused" --resume

# The same commands over the bus, by busctl; the errors by name, through dbus-send.
busctl --user call "$service" "$object" "$interface" End
[ "$(property State)" = idle ] || fail "End over the bus: $(property State)"
bus_error() { # method [type:value]
    dbus-send --session --print-reply --dest="$service" "$object" "$interface.$1" "${@:2}" 2>&1 |
        sed -n 's/^Error \([^:]*\):.*/\1/p'
}
[ "$(bus_error Pause)" = io.github.tarvik.Timer1.Error.NotAllowed ] || fail "Pause while idle: $(bus_error Pause)"
[ "$(bus_error Start int32:-5)" = org.freedesktop.DBus.Error.InvalidArgs ] || fail "Start -5: $(bus_error Start int32:-5)"
[ "$(bus_error StartUntil string:25:00)" = org.freedesktop.DBus.Error.InvalidArgs ] || fail "StartUntil 25:00"
[ "$(bus_error SetDisplay string:huge)" = org.freedesktop.DBus.Error.InvalidArgs ] || fail "SetDisplay huge"
[ "$(property State)" = idle ] || fail "a refused call changed the state"
busctl --user call "$service" "$object" "$interface" Start i 90
[ "$(property Total)" = 90 ] || fail "Start 90: total $(property Total)"
busctl --user call "$service" "$object" "$interface" End
# A launch that finds no lock, as beside a program that runs without one (another runtime
# folder, an older version), still hands over: it claims the name and finds it taken.
mkdir -m 700 "$work/other-run"
XDG_RUNTIME_DIR=$work/other-run expect 0 "" "" --start 80
[ "$(property Total)" = 80 ] || fail "the launch without the lock: total $(property Total)"
expect 0 "" "" --end
# Until a time: the total is the seconds to it, whole, at most a day.
until_time=$(date -d '+10 minutes' +%H:%M)
expect 0 "" "" --until "$until_time"
total=$(property Total)
[ "$total" -gt 540 ] && [ "$total" -le 600 ] || fail "--until $until_time: total $total"
expect 0 "" "" --end

# Display modes: hidden, then a launch without options brings the window back framed.
expect 0 "" "" --hide
wait_for is_minimised || fail "--hide: not minimised"
[ "$(property DisplayMode)" = hidden ] || fail "DisplayMode while hidden: $(property DisplayMode)"
launch
[ "$status" = 0 ] || fail "a launch without options: status $status ($err)"
wait_for is_framed_maximised || fail "the launch without options did not bring the window back"
[ "$(property DisplayMode)" = window ] || fail "DisplayMode after the launch: $(property DisplayMode)"

# --quit ends the program, which lets go of its name before the launch returns.
expect 0 "" "" --quit
expect_clean_exit
expect 3 "not running" "" --status
expect 3 "" "tarvik-timer: not running" --pause

# Without a session bus every launch is on its own: nothing runs to be asked.
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus launch --status
[ "$status" = 3 ] && [ "$out" = "not running" ] || fail "--status without a bus: $status $out"

echo "cli: all checks passed"
