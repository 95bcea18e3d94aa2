#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with its sound or corner picture on a file system whose calls hang
# (slowfs; a stuck network mount): the error box says what happened after the 5 s bound,
# the window appears, F11 opens the settings dialog within a second while the path still
# hangs, applying the settings again reports again, and F12 closes the window at once and
# the program ends cleanly once the file system is gone. The
# box's text is read off the screen with tesseract.
# Exits 77 (skipped) where FUSE file systems cannot be mounted.
set -euo pipefail

program=$1
slowfs=$2
source "$(dirname "$0")/desktop.sh"

if [ ! -e /dev/fuse ]; then
    echo "SKIP: no /dev/fuse on this machine: FUSE file systems cannot be mounted"
    exit 77
fi
command -v fusermount3 >/dev/null || { echo "SKIP: fusermount3 is not installed"; exit 77; }

slowfs_pid=""
mount_point="$work/slow"
unmount_slowfs() {
    if [ -n "$slowfs_pid" ]; then
        # Lazily, so that nothing waits on the calls still hanging; killing the file
        # system then lets them fail.
        fusermount3 -u -z "$mount_point" 2>/dev/null || true
        kill -9 "$slowfs_pid" 2>/dev/null || true
        wait "$slowfs_pid" 2>/dev/null || true
        slowfs_pid=""
    fi
}
stop_program() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill -9 "$program_pid" 2>/dev/null || true
    fi
}
trap 'stop_program; unmount_slowfs; cleanup' EXIT

mount_slowfs() {
    mkdir -p "$mount_point"
    "$slowfs" "$work/source" "$mount_point" --block "$1" --seconds 60 >"$work/slowfs.log" 2>&1 &
    slowfs_pid=$!
    mounted() { grep -q " $mount_point " /proc/self/mountinfo; }
    wait_for mounted || fail "slowfs did not mount: $(cat "$work/slowfs.log")"
}

mkdir -p "$work/source"
gst-launch-1.0 -q audiotestsrc num-buffers=20 samplesperbuffer=4410 ! \
    audio/x-raw,rate=44100,channels=1 ! audioconvert ! lamemp3enc ! xingmux ! \
    filesink location="$work/source/alarm.mp3"
convert -size 200x100 gradient:red-yellow "$work/source/corner.jpg"

# The box has the bare title, as the tray icon's own small window does; searches that
# find nothing are not failures.
error_box() {
    xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | while read -r w; do
        [ "$(xwininfo -id "$w" | awk '/Height:/ {print $2}')" -gt 64 ] && echo "$w"
    done | head -1 || true
}
has_error_box() { [ -n "$(error_box)" ]; }
no_error_box() { ! has_error_box; }
settings_dialog() { xdotool search --onlyvisible --name "^参数设置" 2>/dev/null | head -1 || true; }
no_settings_dialog() { [ -z "$(settings_dialog)" ]; }

# Letters, digits and single blanks, lower-case: what reading a screen can be held to.
plain() { tr 'A-Z\n' 'a-z ' | tr -cd 'a-z0-9 ' | tr -s ' '; }

# Waits for the error box (the 5 s bound plus start-up under the sanitizers), reads its
# text off the screen, checks that it holds each given piece in order, and closes it.
reads_as() {
    local pattern="*" piece
    for piece in "$@"; do
        pattern+="$(plain <<<"$piece")*"
    done
    # shellcheck disable=SC2053
    [[ "$text" == $pattern ]]
}
expect_error_box() {
    local expected="$*" box text=""""
    wait_up_to 30 has_error_box || fail "no error box (expected: $expected)"
    box=$(error_box)
    # Read again while the box may still be painting.
    box_reads_as() {
        import -window "$box" "$work/box.png"
        convert "$work/box.png" -colorspace Gray -resize 300% "$work/box-large.png"
        text=$(tesseract "$work/box-large.png" - 2>/dev/null | plain)
        reads_as "$@"
    }
    wait_up_to 1 box_reads_as "$@" || fail "the error box reads '$text', not '$expected'"
    xdotool windowactivate --sync "$box" key Return >/dev/null 2>&1 || true
    wait_for no_error_box || fail "the error box did not close"
}

# F11 while the path hangs: the settings dialog within a second.
expect_dialog_at_once() {
    local started elapsed dialog=""
    press F11
    started=$(date +%s%N)
    has_settings_dialog() { dialog=$(settings_dialog); [ -n "$dialog" ]; }
    wait_within 1000 has_settings_dialog || fail "F11 opened no settings dialog within 1 s"
    elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
    echo "settings dialog after ${elapsed} ms"
    # Closing it applies the settings again: the same bound, the same report.
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers alt+F4
    wait_for no_settings_dialog || fail "the settings dialog did not close"
}

start_desktop
passed=0
run_case() {
    local name=$1 block=$2 settings=$3
    shift 3
    echo "case: $name"
    mount_slowfs "$block"
    start_program "$settings"
    expect_error_box "$@"
    wait_main_window
    expect_dialog_at_once
    expect_error_box "$@"
    # F12 closes the window at once, calls still hanging. The process itself ends when
    # its last thread does: one hanging in the kernel on the file system lasts until that
    # lets go (and the leak check must stop every thread), so the file system goes then.
    press F12
    no_main_window() { [ -z "$(find_main_window)" ]; }
    wait_for no_main_window || fail "F12 did not close the window"
    unmount_slowfs
    expect_clean_exit
    passed=$((passed + 1))
}

# The words of the messages; the picture's full path between them is not read reliably.
sound_error=("The sound file did not become ready to play within 5 seconds")
picture_error=("The picture file" "could not be read within 5 seconds")

run_case "sound, stat hangs" stat $'[SET]\r\nmp3='"$mount_point/alarm.mp3"$'\r\n' "${sound_error[@]}"
run_case "sound, read hangs" read $'[SET]\r\nmp3='"$mount_point/alarm.mp3"$'\r\n' "${sound_error[@]}"
run_case "corner picture, stat hangs" stat \
    $'[SET]\r\nico='"$mount_point/corner.jpg"$'\r\nshowico=-1\r\nmp3=\r\n' "${picture_error[@]}"
run_case "corner picture, read hangs" read \
    $'[SET]\r\nico='"$mount_point/corner.jpg"$'\r\nshowico=-1\r\nmp3=\r\n' "${picture_error[@]}"

# Browse on the hanging file system, from the sound file field of the settings dialog
# (346+82, 139+24 in the dialog): the browse dialog opens within two seconds (the lookups'
# half-second bound, and making the dialog under the sanitizers) and closes within one
# whatever the typed path does, the main window then repaints and answers F8 and F10
# within a second while the calls still hang, and the program ends cleanly.
find_browse() { xdotool search --onlyvisible --name "^Browse\$" 2>/dev/null | head -1 || true; }
has_browse() { [ -n "$(find_browse)" ]; }
browse_gone() { ! has_browse; }
# Milliseconds until the command succeeds, or fails after the given limit.
within() { # limit_ms command...
    local limit=$1 started
    shift
    started=$(date +%s%N)
    wait_within "$limit" "$@" || return 1
    echo $(( ($(date +%s%N) - started) / 1000000 ))
}
display_painted() {
    # The display's black background, seen on the screen below the panel.
    import -window root "$work/screen.png" 2>/dev/null &&
        [[ "$(convert "$work/screen.png" -format '%[pixel:p{40,400}]' info:)" =~ ^s?rgb\(0,0,0\)$ ]]
}
run_browse_case() {
    local name=$1 typed=$2 ms dialog dx dy
    echo "case: $name"
    mount_slowfs stat
    start_program $'[SET]\r\nmp3=\r\n'
    wait_main_window
    press F11
    wait_for has_settings_dialog || fail "F11 opened no settings dialog"
    dialog=$(settings_dialog)
    read -r dx dy _ _ <<<"$(geometry "$dialog")"
    xdotool mousemove --sync $((dx + 346 + 82 + 60)) $((dy + 139 + 24 + 10)) click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$typed"
    xdotool key --clearmodifiers alt+Down
    ms=$(within 2000 has_browse) || fail "no browse dialog within 2 s"
    echo "browse dialog after $ms ms"
    # A call of the program hangs on the file system by now (the lookup of the typed file,
    # or the dialog's own reader in the typed folder).
    wait_for waits_on_file_system || fail "no call of the program hangs on the file system"
    xdotool windowactivate --sync "$(find_browse)" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers Escape
    ms=$(within 1000 browse_gone) || fail "the browse dialog did not close within 1 s"
    echo "browse dialog closed after $ms ms"
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers alt+F4
    wait_for no_settings_dialog || fail "the settings dialog did not close"
    press F10
    ms=$(within 1000 is_full_screen) || fail "F10 was not answered within 1 s"
    echo "F10 answered after $ms ms"
    wait_for display_painted || fail "the display was not repainted"
    press F8
    ms=$(within 1000 is_framed_maximised) || fail "F8 was not answered within 1 s"
    echo "F8 answered after $ms ms"
    press F12
    no_main_window() { [ -z "$(find_main_window)" ]; }
    wait_for no_main_window || fail "F12 did not close the window"
    unmount_slowfs
    expect_clean_exit
    passed=$((passed + 1))
}
has_settings_dialog() { [ -n "$(settings_dialog)" ]; }
waits_on_file_system() { grep -qs request_wait_answer /proc/"$program_pid"/task/*/wchan; }

run_browse_case "browse, typed file whose stat hangs" "$mount_point/alarm.mp3"
run_browse_case "browse, typed folder whose files' stat hangs" "$mount_point/"

# Sixteen starts on a sound file whose reads hang: each reports, and the threads and
# descriptors of the program stay bounded (a stuck device is not started again).
threads() { ls "/proc/$program_pid/task" | wc -l; }
descriptors() { ls "/proc/$program_pid/fd" | wc -l; }
dismiss_error_box() {
    wait_for has_error_box || fail "no error box"
    xdotool windowactivate --sync "$(error_box)" key Return >/dev/null 2>&1 || true
    wait_for no_error_box || fail "the error box did not close"
}
echo "case: 16 starts on a sound file whose reads hang"
mount_slowfs read
start_program $'[SET]\r\nmp3='"$mount_point/alarm.mp3"$'\r\n'
wait_up_to 30 has_error_box || true
dismiss_error_box
wait_main_window
threads_before=$(threads)
descriptors_before=$(descriptors)
for _ in $(seq 16); do
    press F4
    dismiss_error_box
done
threads_after=$(threads)
descriptors_after=$(descriptors)
echo "threads $threads_before -> $threads_after, descriptors $descriptors_before -> $descriptors_after"
[ "$threads_after" -le $((threads_before + 6)) ] || fail "16 starts left $((threads_after - threads_before)) threads behind"
[ "$descriptors_after" -le $((descriptors_before + 6)) ] ||
    fail "16 starts left $((descriptors_after - descriptors_before)) descriptors behind"
press F12
no_main_window() { [ -z "$(find_main_window)" ]; }
wait_for no_main_window || fail "F12 did not close the window"
unmount_slowfs
expect_clean_exit
passed=$((passed + 1))

echo "slow path end-to-end: $passed passed, 0 failed"
