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
