#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time to a visible window and resident memory of the program with an alarm sound
# and a corner picture set, against a bare Qt window, in one run under Xvfb with openbox.
#
#   bench/startup_memory.sh BUILD [ROUNDS]
#
# Start-up: from starting the process to its window being mapped and viewable, and to the
# window's first paint, as bench/window_start sees them. Memory: VmRSS three seconds after
# the window shows, when the sound has opened. Also the program with nothing set. Medians of ROUNDS
# (default 5) starts, taken turn by turn, and their ratios to the bare window.
set -euo pipefail

build=${1:?usage: startup_memory.sh BUILD [ROUNDS]}
rounds=${2:-5}
build=$(cd "$build" && pwd)
program=$build/src/app/tarvik-timer
bare=$build/bench/bare_window

source "$(dirname "$0")/xvfb_desktop.sh"
sleep 1

# A 20 s MP3 and a 640 x 480 JPEG, made by gst-launch and ImageMagick.
mkdir -p "$work/app"
gst-launch-1.0 -q audiotestsrc num-buffers=860 ! audioconvert ! lamemp3enc ! \
    filesink location="$work/app/alarm.mp3" >/dev/null
convert -size 640x480 plasma:fractal -quality 90 "$work/app/corner.jpg" 2>/dev/null ||
    convert -size 640x480 gradient:red-blue "$work/app/corner.jpg"
cp "$program" "$work/app/tarvik-timer"
cp "$(dirname "$program")"/libtarvik-*.so "$work/app/"
set_config() { printf '%s' "$1" >"$work/app/config.dat"; }
with_media=$'[SET]\r\nmp3='"$work/app/alarm.mp3"$'\r\nico='"$work/app/corner.jpg"$'\r\nshowico=-1\r\n'
nothing=$'[SET]\r\nmp3=\r\nico=\r\n'

# Starts "$@", prints "milliseconds-to-visible milliseconds-to-painted resident-kB". The wait
# is on X events, so the measuring takes no processor time from the program measured.
run() {
    local pattern=$1; shift
    local ms painted pid
    read -r ms painted pid < <("$build/bench/window_start" "$pattern" "$@" 2>"$work/run.log") ||
        { echo "the program ended or never showed" >&2; cat "$work/run.log" >&2; exit 1; }
    sleep 3
    local rss
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    # The program is not this shell's child: wait until it is gone or only a zombie.
    while [ -e "/proc/$pid" ] && ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null; do
        sleep 0.05
    done
    echo "$ms $painted $rss"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -a bare_ms bare_paint bare_kb media_ms media_paint media_kb none_ms none_paint none_kb
for _ in $(seq "$rounds"); do
    read -r ms paint kb < <(run 'bare window' "$bare")
    bare_ms+=("$ms"); bare_paint+=("$paint"); bare_kb+=("$kb")
    set_config "$with_media"
    read -r ms paint kb < <(run 'Tarvik倒计时计时器' "$work/app/tarvik-timer")
    media_ms+=("$ms"); media_paint+=("$paint"); media_kb+=("$kb")
    set_config "$nothing"
    read -r ms paint kb < <(run 'Tarvik倒计时计时器' "$work/app/tarvik-timer")
    none_ms+=("$ms"); none_paint+=("$paint"); none_kb+=("$kb")
done

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median of $rounds starts (all runs in brackets):"
b_ms=$(median "${bare_ms[@]}"); b_paint=$(median "${bare_paint[@]}"); b_kb=$(median "${bare_kb[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
row() {
    local name=$1 ms=$2 paint=$3 kb=$4 all_ms=$5 all_paint=$6 all_kb=$7
    printf '  %-32s shown %5.1f ms (%s)  painted %5.1f ms (%s)  %6.1f MB (%s)\n' "$name" \
        "$ms" "$(ratio "$ms" "$b_ms")" "$paint" "$(ratio "$paint" "$b_paint")" \
        "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" "$(ratio "$kb" "$b_kb")"
    printf '  %-32s   [%s ms] [%s ms] [%s kB]\n' "" "$all_ms" "$all_paint" "$all_kb"
}
echo "  (ratios to the bare window in brackets)"
row "bare Qt window" "$b_ms" "$b_paint" "$b_kb" "${bare_ms[*]}" "${bare_paint[*]}" "${bare_kb[*]}"
row "tarvik-timer, sound and picture" "$(median "${media_ms[@]}")" "$(median "${media_paint[@]}")" \
    "$(median "${media_kb[@]}")" "${media_ms[*]}" "${media_paint[*]}" "${media_kb[*]}"
row "tarvik-timer, nothing set" "$(median "${none_ms[@]}")" "$(median "${none_paint[@]}")" \
    "$(median "${none_kb[@]}")" "${none_ms[*]}" "${none_paint[*]}" "${none_kb[*]}"
