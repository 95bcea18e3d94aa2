#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with a sound set: the sound, which is checked by a process of its own and
# so costs the program nothing while it waits, plays at the alarm lead, before the finish
# message, and the bar's Stop and Play buttons stop it and play it on. What the pipelines do
# is read from GStreamer's state log.
set -euo pipefail

program=$1
source "$(dirname "$0")/desktop.sh"

gst-launch-1.0 -q audiotestsrc num-buffers=300 ! audioconvert ! lamemp3enc ! \
    filesink location="$work/alarm.mp3" || fail "could not make the test sound"
export GST_DEBUG=GST_STATES:4 GST_DEBUG_NO_COLOR=1 GST_DEBUG_FILE="$work/gst.log"

start_desktop
start_program $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=6\r\nplaytime=3\r\nmp3='"$work/alarm.mp3"$'\r\n'
wait_main_window

# A playbin's completed changes to a state, in order (those that end asynchronously, as
# the pause after a preroll, are logged without their state).
states() { grep -o '<playbin[0-9]*> completed state change to [A-Z_]*' "$work/gst.log" 2>/dev/null |
    sed 's/.* //' || true; }
last_state() { states | tail -1; }
is_last() { [ "$(last_state)" = "$1" ]; }
# Opened after the first paint, by the probe, which then ended.
wait_for is_last NULL || fail "the sound did not open and rest: $(states | tr '\n' ' ')"
grep -q "<playbin" "$work/gst.log" || fail "the sound was never opened"
! states | grep -qx PLAYING || fail "the sound played before the countdown"
maps_plugin() { grep -c 'gstreamer-1.0/libgstplayback' "/proc/$program_pid/maps" || true; }
[ "$(maps_plugin)" = 0 ] || fail "the waiting sound keeps GStreamer's decoders in the program"

finish_box() { xdotool search --onlyvisible --name "计时完成提醒" 2>/dev/null | head -1; }
has_finish_box() { [ -n "$(finish_box)" ]; }
xdotool windowactivate --sync "$window" key F4
# Six seconds counted, the alarm at three left: playing well before the finish message.
wait_for is_last PLAYING || fail "the alarm did not play: $(states | tr '\n' ' ')"
has_finish_box && fail "the alarm played only at the finish"
[ "$(maps_plugin)" != 0 ] || fail "the alarm did not play in the program itself"

# The bar (896, 16 in the panel, three buttons 28 apart): Stop, then Play again.
xdotool mousemove --window "$window" 966 31 click 1
# Stopped, it pauses (an asynchronous change, logged without its state) and then rests.
not_playing() { ! is_last PLAYING; }
wait_for not_playing || fail "Stop did not stop the sound: $(states | tr '\n' ' ')"
xdotool mousemove --window "$window" 910 31 click 1
wait_for is_last PLAYING || fail "Play did not play on: $(states | tr '\n' ' ')"

wait_for has_finish_box || fail "no finish message"
xdotool windowactivate --sync "$(finish_box)" key Return
echo "PASS"
