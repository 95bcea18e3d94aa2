#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A second launch's hand-over to the running program against a bare bus call that asks the
# same of it, in one run under Xvfb with openbox and a session bus.
#
#   bench/handover.sh BUILD [ROUNDS]
#
# Hand-over: `tarvik-timer --window` from its start to its exit, while the first instance
# runs (the whole launch: the process, its command line, the bus connection and the call);
# reference: `dbus-send` making the same SetDisplay call. Also `tarvik-timer --status` against
# `dbus-send` reading the properties. Taken turn by turn; prints the medians of ROUNDS (default
# 30) and their ratios.
set -euo pipefail

build=${1:?usage: handover.sh BUILD [ROUNDS]}
rounds=${2:-30}
build=$(cd "$build" && pwd)
program=$build/src/app/tarvik-timer

source "$(dirname "$0")/xvfb_desktop.sh"

mkdir -p "$work/app"
cp "$program" "$work/app/tarvik-timer"
cp "$(dirname "$program")"/libtarvik-*.so "$work/app/"
printf '%s' $'[SET]\r\nmp3=\r\nico=\r\n' >"$work/app/config.dat"
"$work/app/tarvik-timer" >"$work/program.log" 2>&1 &
pids+=($!)
# The first instance has started up once a call it has waited for returns.
for _ in $(seq 100); do
    busctl --user status io.github.tarvik.Timer >/dev/null 2>&1 && break
    sleep 0.1
done
"$work/app/tarvik-timer" --window || { echo "no hand-over" >&2; cat "$work/program.log" >&2; exit 1; }

dest=(--session --print-reply --dest=io.github.tarvik.Timer /io/github/tarvik/Timer)
# Milliseconds "$@" takes, its output dropped.
timed() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f\n", (b - a) * 1000 }'
}

declare -a handover call status properties
for _ in $(seq 3); do # warm the caches
    timed "$work/app/tarvik-timer" --window >/dev/null
    timed dbus-send "${dest[@]}" io.github.tarvik.Timer1.SetDisplay string:window >/dev/null
done
for _ in $(seq "$rounds"); do
    handover+=("$(timed "$work/app/tarvik-timer" --window)")
    call+=("$(timed dbus-send "${dest[@]}" io.github.tarvik.Timer1.SetDisplay string:window)")
    status+=("$(timed "$work/app/tarvik-timer" --status)")
    properties+=("$(timed dbus-send "${dest[@]}" org.freedesktop.DBus.Properties.GetAll \
        string:io.github.tarvik.Timer1)")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "milliseconds from start to exit, median of $rounds, turn by turn:"
h=$(median "${handover[@]}"); c=$(median "${call[@]}")
s=$(median "${status[@]}"); p=$(median "${properties[@]}")
printf '  tarvik-timer --window (hand-over)   %7.2f   ratio %s\n' "$h" "$(ratio "$h" "$c")"
printf '  dbus-send SetDisplay (reference)    %7.2f\n' "$c"
printf '  tarvik-timer --status               %7.2f   ratio %s\n' "$s" "$(ratio "$s" "$p")"
printf '  dbus-send GetAll (reference)        %7.2f\n' "$p"
printf '  hand-over range: %s to %s\n' "$(printf '%s\n' "${handover[@]}" | sort -g | head -1)" \
    "$(printf '%s\n' "${handover[@]}" | sort -g | tail -1)"
