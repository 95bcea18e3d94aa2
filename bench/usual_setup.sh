#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as users have it, with an alarm sound and a corner picture set, against the
# program with nothing set and a bare Qt window, in one run under Xvfb with openbox, trayer
# and a session bus: first paint, resident memory and wake-ups.
#
#   bench/usual_setup.sh BUILD [ROUNDS] [SECONDS]
#
# SECONDS 0 leaves out the wake-ups, for the many rounds a first paint needs: a round then takes
# a few seconds.
# Each round starts the three in turn, in an order that rotates from round to round. For
# each: the time to the first paint (window_start: the first damage after which the window
# shows more than one colour), VmRSS 1 s after the window shows and again when the idle
# measuring ends, and wake-ups (voluntary context switches of all threads,
# /proc/PID/task/*/status) per second over SECONDS (default 8) idle, from 2 s after the
# paint. The program is then started counting (F4, one hour, the alarm at the end) and
# measured again over SECONDS from 23 s after the paint. The picture rolls every 20 s from
# when it was loaded, just after the paint: with SECONDS up to 8 both measurings lie between
# rolls (the roll's own frames are left out).
# Prints medians of ROUNDS (default 5) with their ratios to the bare window (to the
# program with nothing set for the wake-ups), the median of each round's own ratio of first
# paints (the three starts of a round lie seconds apart, so a machine whose speed swings over
# minutes weighs less in it), the threads that woke, and the largest items
# of the memory map of the program with sound and picture and what they add to the map with
# nothing set (last round).
set -euo pipefail

build=${1:?usage: usual_setup.sh BUILD [ROUNDS] [SECONDS]}
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

# A 20 s MP3 and a 640 x 480 JPEG, made by gst-launch and ImageMagick.
mkdir -p "$work/app"
gst-launch-1.0 -q audiotestsrc num-buffers=860 ! audioconvert ! lamemp3enc ! \
    filesink location="$work/app/alarm.mp3" >/dev/null
convert -size 640x480 plasma:fractal -quality 90 "$work/app/corner.jpg" 2>/dev/null ||
    convert -size 640x480 gradient:red-blue "$work/app/corner.jpg"
cp "$program" "$work/app/tarvik-timer"
cp "$(dirname "$program")"/libtarvik-*.so "$work/app/"
count=$'shi=1\r\nfeng=0\r\nmiao=0\r\n'
with_media=$'[SET]\r\n'"$count"$'mp3='"$work/app/alarm.mp3"$'\r\nico='"$work/app/corner.jpg"$'\r\nshowico=-1\r\n'
nothing=$'[SET]\r\n'"$count"$'mp3=\r\nico=\r\n'

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# Resident kB by mapping (anonymous ones together, thread stacks among them): "kB name".
memory_map() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anonymous]" }
         /^Rss:/ { kb[name] += $2 }
         END { for (n in kb) printf "%d %s\n", kb[n], n }' "/proc/$1/smaps" |
        sed "s#$work/app/#APP/#" | sort -k2
}

stop() {
    kill "$1"
    # The program is not this shell's child: wait until it is gone or only a zombie.
    while [ -e "/proc/$1" ] && ! grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; do
        sleep 0.05
    done
}

# Starts "$@" under window_start; writes "painted-ms rss-kB rss-later-kB idle/s counting/s"
# to $work/result.
# $1 names the set-up (per-thread files), $2 the title, $3 whether to count down.
run() {
    local setup=$1 pattern=$2 counting=$3; shift 3
    local ms painted pid
    read -r ms painted pid < <("$build/bench/window_start" "$pattern" "$@" 2>"$work/run.log") ||
        { echo "$setup: the program ended or never showed" >&2; cat "$work/run.log" >&2; exit 1; }
    local shown_at
    shown_at=$(date +%s.%N)
    sleep 1
    local kb
    kb=$(rss "$pid")
    [ "$setup" = bare ] || memory_map "$pid" >"$work/map.$setup"
    local later=- idle=- busy=-
    if [ "$seconds" = 0 ]; then
        stop "$pid"
        echo "$painted $kb $later $idle $busy" >"$work/result"
        return
    fi
    sleep 1
    idle=$(wakeups "$pid" "$seconds" "$work/$setup.idle")
    later=$(rss "$pid")
    if [ "$counting" = yes ]; then
        # The largest window of the program: its tray icon is one too.
        local window
        window=$(for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
                     xwininfo -id "$w" | awk -v w="$w" '/Width:/ { x = $2 } /Height:/ { print x * $2, w }'
                 done | sort -rn | awk 'NR == 1 { print $2 }')
        [ -n "$window" ] || { echo "$setup: no window to start the countdown in" >&2; exit 1; }
        xdotool windowactivate --sync "$window" key F4 2>/dev/null || xdotool key --window "$window" F4
        # Past the first roll (20 s after the paint, 1.6 s long).
        sleep "$(awk -v t="$shown_at" -v now="$(date +%s.%N)" 'BEGIN { w = t + 23 - now; print (w > 1) ? w : 1 }')"
        busy=$(wakeups "$pid" "$seconds" "$work/$setup.count")
        # The tick alone wakes the program once a second: fewer means F4 did not start it.
        awk -v b="$busy" 'BEGIN { exit !(b < 0.9) }' &&
            echo "$setup: the countdown seems not to have started ($busy/s)" >&2
    fi
    stop "$pid"
    echo "$painted $kb $later $idle $busy" >"$work/result"
}

set_config() { printf '%s' "$1" >"$work/app/config.dat"; }

declare -a paint_bare kb_bare later_bare idle_bare
declare -a paint_none kb_none later_none idle_none count_none
declare -a paint_media kb_media later_media idle_media count_media
measure_bare() {
    run bare 'bare window' no "$bare"
    read -r p k l i _ <"$work/result"
    paint_bare+=("$p"); kb_bare+=("$k"); later_bare+=("$l"); idle_bare+=("$i")
}
measure_none() {
    set_config "$nothing"
    run none 'Tarvik倒计时计时器' yes "$work/app/tarvik-timer"
    read -r p k l i c <"$work/result"
    paint_none+=("$p"); kb_none+=("$k"); later_none+=("$l"); idle_none+=("$i"); count_none+=("$c")
}
measure_media() {
    set_config "$with_media"
    run media 'Tarvik倒计时计时器' yes "$work/app/tarvik-timer"
    read -r p k l i c <"$work/result"
    paint_media+=("$p"); kb_media+=("$k"); later_media+=("$l"); idle_media+=("$i"); count_media+=("$c")
}
# The set-ups take turns at starting first: a start can come out a few per cent faster for
# the start just before it, and a fixed order would hand that to the same set-up every round.
setups=(bare none media)
for round in $(seq "$rounds"); do
    for n in 0 1 2; do
        "measure_${setups[(round + n) % 3]}"
    done
done

median() {
    [ "$1" = - ] && { echo -; return; }
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# The median of the rounds' own ratios: "$1" names the array over the bare window's.
paired() {
    local -n of=$1
    local i ratios=()
    for i in "${!of[@]}"; do
        ratios+=("$(awk -v a="${of[i]}" -v b="${paint_bare[i]}" 'BEGIN { printf "%.3f", a / b }')")
    done
    median "${ratios[@]}"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) processors)"
echo "medians of $rounds rounds; first paint and memory as ratio to the bare window, wake-ups"
echo "per second over ${seconds} s"
printf '  %-36s %-18s %-16s %-10s %-8s %-8s\n' "set-up" "first paint" "resident 1 s" "later" "idle/s" "counting/s"
bp=$(median "${paint_bare[@]}"); bk=$(median "${kb_bare[@]}")
row() {
    local name=$1 p=$2 k=$3 l=$4 i=$5 c=$6
    printf '  %-36s %6.1f ms (%4s)  %5s MB (%4s)  %5s MB  %6s  %8s\n' "$name" "$p" "$(ratio "$p" "$bp")" \
        "$(mb "$k")" "$(ratio "$k" "$bk")" "$([ "$l" = - ] && echo - || mb "$l")" "$i" "$c"
}
row "bare Qt window (a QLabel)" "$bp" "$bk" "$(median "${later_bare[@]}")" "$(median "${idle_bare[@]}")" "-"
row "tarvik-timer, nothing set" "$(median "${paint_none[@]}")" "$(median "${kb_none[@]}")" \
    "$(median "${later_none[@]}")" "$(median "${idle_none[@]}")" "$(median "${count_none[@]}")"
row "tarvik-timer, sound and picture set" "$(median "${paint_media[@]}")" "$(median "${kb_media[@]}")" \
    "$(median "${later_media[@]}")" "$(median "${idle_media[@]}")" "$(median "${count_media[@]}")"
echo "  counting with sound and picture against nothing set: $(ratio "$(median "${count_media[@]}")" "$(median "${count_none[@]}")")"
echo "  first paint, median of the rounds' own ratios: nothing set $(paired paint_none)," \
    "sound and picture $(paired paint_media)"
echo "all runs:"
echo "  first paint ms: bare [${paint_bare[*]}] nothing [${paint_none[*]}] media [${paint_media[*]}]"
echo "  resident kB:    bare [${kb_bare[*]}] nothing [${kb_none[*]}] media [${kb_media[*]}]"
echo "  idle/s:         bare [${idle_bare[*]}] nothing [${idle_none[*]}] media [${idle_media[*]}]"
echo "  counting/s:     nothing [${count_none[*]}] media [${count_media[*]}]"
threads() {
    [ -e "$1" ] || { echo " -"; return; }
    awk -v r="$rounds" -v s="$seconds" '{ n[$1] += $2 } END { for (t in n) if (n[t] > 0) printf " %s %.2f/s", t, n[t] / r / s }' "$1"
    echo
}
echo "wake-ups by thread (mean per second):"
for setup in bare none media; do
    printf '  %-6s idle:    ' "$setup"; threads "$work/$setup.idle"
    [ "$setup" = bare ] || { printf '  %-6s counting:' "$setup"; threads "$work/$setup.count"; }
done
echo "largest items of the memory map, sound and picture set, 1 s after the paint (resident):"
sort -rn "$work/map.media" | awk 'NR <= 14 { printf "  %8d kB  %s\n", $1, $2 }'
echo "what the sound and the picture add to the map of the program with nothing set:"
join -j 2 -a 1 -a 2 -e 0 -o 0,1.1,2.1 "$work/map.none" "$work/map.media" |
    awk '{ d = $3 - $2; if (d != 0) printf "%d %s\n", d, $1 }' | sort -rn |
    awk 'NR <= 14 { printf "  %+8d kB  %s\n", $1, $2 }'
