#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The first and the second launch on a Wayland compositor (headless sway with swaybar's tray,
# its own session bus): a first launch with a duration counts it down once the window has
# applied its settings; a second launch with a duration hands it over and exits, and the
# window counts down to the finish box; --status, --hide, a launch without options, --quit.
set -euo pipefail
program=$1
source "$(dirname "$0")/sway.sh"

# The program in the session, with the sanitizers' settings where the user can read them.
mkdir -p "$work/app"
cp "$program" "$work/app/tarvik-timer"
cp "$(dirname "$program")"/libtarvik-*.so "$work/app/"
printf '%s' $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=30\r\nmp3=\r\n' >"$work/app/config.dat"
lsan=${LSAN_OPTIONS:-}
if [[ "$lsan" =~ suppressions=([^:]*) ]]; then
    cp "${BASH_REMATCH[1]}" "$work/app/lsan.supp"
    lsan=${lsan/${BASH_REMATCH[1]}/$work/app/lsan.supp}
fi
[ "$(id -u)" -ne 0 ] || chown -R "$e2e_user" "$work/app"
run_program() {
    in_session env QT_QPA_PLATFORM=wayland ASAN_OPTIONS="$(session_asan_options)" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" LSAN_OPTIONS="$lsan" "$work/app/tarvik-timer" "$@"
}
# A later launch: its status in $status, its output in $out.
launch() {
    status=0
    out=$(run_program "$@" 2>"$work/err") || status=$?
    err=$(cat "$work/err")
}
finish_box() { [ -n "$(window_named 计时完成提醒)" ]; }
no_finish_box() { ! finish_box; }
status_is() { [ "$(run_program --status 2>&1)" = "$1" ]; }

start_sway tray
# The first launch with a duration: had it started before the settings were applied, their
# apply would reset the counters under the running countdown, which would then never finish.
run_program 3s >"$work/program.log" 2>&1 &
program_pid=$!
wait_for is_state framed || fail "not framed at start: $(main_state)"
wait_for finish_box || fail "the first launch's 3s countdown showed no finish box"
key Return
wait_for no_finish_box || fail "the finish box did not close"
wait_for status_is "idle 00:00:00" || fail "status after the first countdown: $(run_program --status 2>&1)"

# The second launch hands its duration over and exits; the window counts it down.
launch 2s
[ "$status" = 0 ] && [ -z "$out" ] && [ -z "$err" ] || fail "second launch: status $status, $out $err"
[ "$(windows | jq -s 'map(select(.type == "con" or .type == "floating_con")) | length')" -le 2 ] ||
    fail "the second launch opened a window: $(windows)"
wait_for finish_box || fail "the handed-over 2s countdown showed no finish box"
key Return
wait_for no_finish_box || fail "the finish box did not close"

# Refused while idle; then hidden, and a launch without options brings the window back.
launch --pause
[ "$status" = 1 ] && [ "$err" = "tarvik-timer: cannot pause: no countdown is running" ] ||
    fail "--pause while idle: status $status, $err"
launch --hide
[ "$status" = 0 ] || fail "--hide: status $status ($err)"
wait_for is_state hidden || fail "--hide: $(main_state)"
launch
[ "$status" = 0 ] || fail "launch without options: status $status ($err)"
wait_for is_state framed || fail "the launch without options did not bring the window back: $(main_state)"

launch --quit
[ "$status" = 0 ] || fail "--quit: status $status ($err)"
expect_clean_exit
launch --status
[ "$status" = 3 ] && [ "$out" = "not running" ] || fail "--status after --quit: $status $out"
echo "cli_wayland: all checks passed"
