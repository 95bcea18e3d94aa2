#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Soak: back-to-back one-minute countdowns with a rolling corner picture and an alarm sound,
# sampling open descriptors and resident memory every 30 s; prints growth per hour.
#
#   bench/soak.sh BUILD_DIR [MINUTES]      (default 30 minutes; use a Release build)
set -euo pipefail

build=${1:?usage: soak.sh BUILD_DIR [MINUTES]}
minutes=${2:-30}
program="$build/bench/soak_countdowns"
[ -x "$program" ] || { echo "soak: build the soak_countdowns target in $build first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 20-second alarm tone by lame, a 640 x 480 photograph by ImageMagick.
gst-launch-1.0 -q audiotestsrc num-buffers=200 samplesperbuffer=4410 ! \
    audio/x-raw,rate=44100,channels=1 ! audioconvert ! lamemp3enc ! xingmux ! \
    filesink location="$work/alarm.mp3"
convert -size 640x480 gradient:orange-blue -fill darkgreen -draw 'ellipse 320,240 160,120 0,360' \
    -quality 90 "$work/corner.jpg"

"$program" --sound "$work/alarm.mp3" --picture "$work/corner.jpg" --minutes "$minutes" \
    --countdown-seconds 60 --sample-seconds 30 --lead 5
