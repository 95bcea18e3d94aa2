#!/bin/bash
# Start-up time to a visible window and resident memory of the program with an alarm sound
# and a corner picture set, against a bare Qt window, in one run under Xvfb with openbox.
#
#   bench/startup_memory.sh BUILD [ROUNDS]
#
# Start-up: from starting the process to its window being mapped and viewable, as
# bench/window_start sees it. Memory: VmRSS three seconds after the window
# shows, when the sound has opened. Also the program with nothing set. Medians of ROUNDS
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
set_config() { printf '%s' "$1" >"$work/app/config.dat"; }
with_media=$'[SET]\r\nmp3='"$work/app/alarm.mp3"$'\r\nico='"$work/app/corner.jpg"$'\r\nshowico=-1\r\n'
nothing=$'[SET]\r\nmp3=\r\nico=\r\n'

# Starts "$@", prints "milliseconds-to-visible resident-kB". The wait is on X events, so the
# measuring takes no processor time from the program measured.
run() {
    local pattern=$1; shift
    local ms pid
    read -r ms pid < <("$build/bench/window_start" "$pattern" "$@" 2>"$work/run.log") ||
        { echo "the program ended or never showed" >&2; cat "$work/run.log" >&2; exit 1; }
    sleep 3
    local rss
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    # The program is not this shell's child: wait until it is gone or only a zombie.
    while [ -e "/proc/$pid" ] && ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null; do
        sleep 0.05
    done
    echo "$ms $rss"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -a bare_ms bare_kb media_ms media_kb none_ms none_kb
for _ in $(seq "$rounds"); do
    read -r ms kb < <(run 'bare window' "$bare"); bare_ms+=("$ms"); bare_kb+=("$kb")
    set_config "$with_media"
    read -r ms kb < <(run 'Tarvik倒计时计时器' "$work/app/tarvik-timer"); media_ms+=("$ms"); media_kb+=("$kb")
    set_config "$nothing"
    read -r ms kb < <(run 'Tarvik倒计时计时器' "$work/app/tarvik-timer"); none_ms+=("$ms"); none_kb+=("$kb")
done

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median of $rounds starts (all runs in brackets):"
b_ms=$(median "${bare_ms[@]}"); b_kb=$(median "${bare_kb[@]}")
row() {
    local name=$1 ms=$2 kb=$3 all_ms=$4 all_kb=$5
    printf '  %-32s %5.1f ms  %6.1f MB   ratio %.2f time, %.2f memory   [%s ms] [%s kB]\n' "$name" "$ms" \
        "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" \
        "$(awk -v a="$ms" -v b="$b_ms" 'BEGIN { print a / b }')" \
        "$(awk -v a="$kb" -v b="$b_kb" 'BEGIN { print a / b }')" "$all_ms" "$all_kb"
}
row "bare Qt window" "$b_ms" "$b_kb" "${bare_ms[*]}" "${bare_kb[*]}"
row "tarvik-timer, sound and picture" "$(median "${media_ms[@]}")" "$(median "${media_kb[@]}")" "${media_ms[*]}" "${media_kb[*]}"
row "tarvik-timer, nothing set" "$(median "${none_ms[@]}")" "$(median "${none_kb[@]}")" "${none_ms[*]}" "${none_kb[*]}"
