#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Wake-ups per second of the program against a bare Qt window, in one run under Xvfb with
# openbox and trayer (and a D-Bus session bus, as on a desktop).
#
#   bench/idle_wakeups.sh BUILD [ROUNDS] [SECONDS]
#
# A wake-up is a voluntary context switch of any of the process's threads (it slept and was
# woken; preemptions by other processes are left out), from /proc/PID/task/*/status. Each
# round measures, after two seconds to settle: the bare window; the program idle with nothing
# set; the program counting down with nothing set.
# Prints the median of the rounds and its ratio to the bare window, and which threads woke.
set -euo pipefail

build=${1:?usage: idle_wakeups.sh BUILD [ROUNDS] [SECONDS]}
rounds=${2:-5}
seconds=${3:-8}
build=$(cd "$build" && pwd)
program=$build/src/app/tarvik-timer
bare=$build/bench/bare_window

source "$(dirname "$0")/xvfb_desktop.sh"
source "$(dirname "$0")/wakeups.sh"
trayer --edge bottom --align right --widthtype pixel --width 64 --height 24 >"$work/trayer.log" 2>&1 &
pids+=($!)
sleep 1

wait_window() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 && return
        sleep 0.1
    done
    echo "no window named $1" >&2
    exit 1
}

mkdir -p "$work/app"
cp "$program" "$work/app/tarvik-timer"
cp "$(dirname "$program")"/libtarvik-*.so "$work/app/"
run_program() { # config text, whether to start counting
    printf '%s' "$1" >"$work/app/config.dat"
    "$work/app/tarvik-timer" >"$work/program.log" 2>&1 &
    local pid=$!
    pids+=($pid)
    local window
    window=$(wait_window "^Tarvik倒计时计时器.+")
    if [ "$2" = yes ]; then
        xdotool windowactivate --sync "$window" key F4 2>/dev/null || xdotool key --window "$window" F4
    fi
    sleep 2
    echo "$pid"
}

declare -a bare_rates idle_rates count_rates
for round in $(seq "$rounds"); do
    "$bare" >/dev/null 2>&1 &
    pid=$!; pids+=($pid)
    wait_window "^bare window$" >/dev/null
    sleep 2
    bare_rates+=("$(wakeups "$pid" "$seconds" "$work/bare.threads")")
    kill "$pid"; wait "$pid" 2>/dev/null || true

    pid=$(run_program $'[SET]\r\nmp3=\r\nico=\r\n' no)
    idle_rates+=("$(wakeups "$pid" "$seconds" "$work/idle.threads")")
    kill "$pid"; wait "$pid" 2>/dev/null || true

    pid=$(run_program $'[SET]\r\nshi=1\r\nfeng=0\r\nmiao=0\r\nmp3=\r\nico=\r\n' yes)
    count_rates+=("$(wakeups "$pid" "$seconds" "$work/count.threads")")
    kill "$pid"; wait "$pid" 2>/dev/null || true
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
threads() { awk -v r="$rounds" -v s="$seconds" '{ n[$1] += $2 } END { for (t in n) printf " %s %.2f/s", t, n[t] / r / s }' "$1"; echo; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "wake-ups per second, median of $rounds runs of ${seconds} s:"
b=$(median "${bare_rates[@]}"); i=$(median "${idle_rates[@]}"); c=$(median "${count_rates[@]}")
printf '  bare Qt window      %6.2f   (runs: %s)\n' "$b" "${bare_rates[*]}"
printf '  program, idle       %6.2f   (runs: %s)  ratio %s\n' "$i" "${idle_rates[*]}" "$(awk -v a="$i" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "- (reference 0)" }')"
printf '  program, counting   %6.2f   (runs: %s)  ratio %s\n' "$c" "${count_rates[*]}" "$(awk -v a="$c" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "- (reference 0)" }')"
echo "by thread:"
printf '  bare:    '; threads "$work/bare.threads"
printf '  idle:    '; threads "$work/idle.threads"
printf '  counting:'; threads "$work/count.threads"
