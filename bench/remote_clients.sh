#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web remote's cost on the real program under Xvfb with openbox, on the loopback
# address: 100 view clients against none while counting, and tick-to-client latency.
#   bench/remote_clients.sh BUILD [ROUNDS] [SECONDS]
set -euo pipefail
build=${1:?usage: remote_clients.sh BUILD [ROUNDS] [SECONDS]}
build=$(cd "$build" && pwd)
source "$(dirname "$0")/xvfb_desktop.sh"
sleep 1
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/app"
cp "$build/src/app/tarvik-timer" "$build/src/app"/libtarvik-*.so "$work/app/"
printf '%s' $'[SET]\r\nmp3=\r\nremote=true\r\nremoteport='"$port"$'\r\n' >"$work/app/config.dat"
TARVIK_REMOTE_LISTEN=127.0.0.1 TARVIK_REMOTE_LINKS="$work/links" \
    ASAN_OPTIONS=detect_leaks=0 "$work/app/tarvik-timer" >"$work/program.log" 2>&1 &
pid=$!
pids+=($pid)
for _ in $(seq 200); do [ "$(wc -l 2>/dev/null <"$work/links")" = 2 ] && break; sleep 0.1; done
token=$(sed -n 2p "$work/links" | sed 's/.*?t=//')
/usr/bin/python3 "$(dirname "$0")/remote_clients.py" "$pid" "http://127.0.0.1:$port" "$token" \
    "${2:-3}" "${3:-10}"
