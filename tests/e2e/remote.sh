#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web remote on the real program, on the loopback address only: every answer of the
# API and the security rules (remote_checks.py writes the table), then the message line on
# the window.
set -euo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
export TARVIK_REMOTE_LISTEN=127.0.0.1 TARVIK_REMOTE_LINKS="$work/links"
start_desktop
start_program $'[SET]\r\nmp3=\r\nremote=true\r\nremoteport='"$port"$'\r\n'
wait_main_window
has_links() { [ "$(wc -l 2>/dev/null <"$work/links")" = 2 ]; }
wait_for has_links || fail "the remote did not start"
view=$(sed -n 1p "$work/links")
token=$(sed -n 2p "$work/links" | sed 's/.*?t=//')
[ "$view" = "http://127.0.0.1:$port/view" ] || fail "view link: $view"

table=${REMOTE_TABLE:-$work/table.md}
/usr/bin/python3 "$(dirname "$0")/remote_checks.py" "http://127.0.0.1:$port" "$token" "$table" ||
    fail "$(cat "$table")"
grep -q "$token" "$work/program.log" && fail "the token is in the program's output"
kill -0 "$program_pid" || fail "the program died"
echo "remote: all cases answered as they must"

# The links on the command line, through the running program, are the window's own.
links=$("$work/tarvik-timer" --remote-url) || fail "--remote-url: status $?"
[ "$links" = "$(cat "$work/links")" ] || fail "--remote-url printed: $links"

# With the setting off, --remote-url says so; a later --remote turns the remote on for the
# run and --remote-url in the same launch gives its new links, which answer.
"$work/tarvik-timer" --quit || fail "--quit: status $?"
wait_for program_ended || fail "the program did not end"
rm -f "$work/links"
start_program $'[SET]\r\nmp3=\r\nremote=false\r\nremoteport='"$port"$'\r\n'
wait_main_window
status=0
"$work/tarvik-timer" --remote-url >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] && [ ! -s "$work/out" ] && grep -q '手机遥控' "$work/err" ||
    fail "--remote-url with the remote off: status $status, $(cat "$work/out" "$work/err")"
# Off, the program has not loaded the network libraries; it has answered a call, so it is up.
maps_network() { grep -c 'libQt6Network\|libQt6WebSockets\|libqrencode' "/proc/$program_pid/maps" || true; }
[ "$(maps_network)" = 0 ] || fail "the network libraries are loaded with the remote off"
links=$("$work/tarvik-timer" --remote --remote-url) || fail "--remote --remote-url: status $?"
view=$(sed -n 1p <<<"$links")
control=$(sed -n 2p <<<"$links")
[ "$view" = "http://127.0.0.1:$port/view" ] || fail "view link after --remote: $view"
[ "$(curl -s -o /dev/null -w '%{http_code}' "$control")" = 200 ] || fail "the control link does not answer"
[ "$(maps_network)" != 0 ] || fail "the remote answers, yet no network library is mapped"
echo "remote: --remote-url prints the links; --remote turns it on for the run"

# Without its network module the remote says why it cannot start, and the program goes on.
"$work/tarvik-timer" --quit || fail "--quit: status $?"
wait_for program_ended || fail "the program did not end"
start_program $'[SET]\r\nmp3=\r\nremote=false\r\n'
rm "$work/libtarvik-remote.so"
wait_main_window
status=0
"$work/tarvik-timer" --remote --remote-url >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] && [ ! -s "$work/out" ] && grep -q 'libtarvik-remote.so' "$work/err" ||
    fail "--remote-url without the module: status $status, $(cat "$work/out" "$work/err")"
"$work/tarvik-timer" --quit || fail "--quit: status $?"
expect_clean_exit
echo "remote: without its module the remote reports it"
