#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The view and control pages in headless Chromium against the real program, on loopback:
# the view shows the window's digits, the control page's pause pauses the program, and its
# message appears on the window (read back from the screen).
# With DESKTOP=sway the program runs on headless sway (Wayland) instead of Xvfb and openbox.
#   remote_browser.sh PROGRAM [SCREENSHOT_DIR]
set -euo pipefail
program=$1
shots=${2:-}
desktop=${DESKTOP:-x11}
config=$'[SET]\r\nmp3=\r\nremote=true\r\nqiancolor=clLime\r\nremoteport='
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
if [ "$desktop" = sway ]; then
    source "$(dirname "$0")/sway.sh"
    links=$work/app/links
    program_env="TARVIK_REMOTE_LISTEN=127.0.0.1 TARVIK_REMOTE_LINKS=$links"
    start_sway
    start_program "$config$port"$'\r\n'
    wait_for main_window >/dev/null || fail "no main window"
    take_screen() { screenshot "$work/screen.png"; }
else
    source "$(dirname "$0")/desktop.sh"
    links=$work/links
    export TARVIK_REMOTE_LISTEN=127.0.0.1 TARVIK_REMOTE_LINKS="$links"
    start_desktop
    start_program "$config$port"$'\r\n'
    wait_main_window
    take_screen() { import -window root "$work/screen.png" 2>/dev/null; }
fi
has_links() { [ "$(wc -l 2>/dev/null <"$links")" = 2 ]; }
wait_for has_links || fail "the remote did not start"
token=$(sed -n 2p "$links" | sed 's/.*?t=//')

mkdir -p "$work/profile"
/usr/bin/python3 "$(dirname "$0")/remote_browser.py" "http://127.0.0.1:$port" "$token" \
    "$work/profile" $shots || fail "browser checks"

# The message under the digits on the window, read from the screen.
window_says() {
    take_screen &&
        tesseract "$work/screen.png" - 2>/dev/null | grep -q "BREAK UNTIL 10"
}
wait_for window_says || fail "the message is not on the window: $(tesseract "$work/screen.png" - 2>/dev/null | tr '\n' ' ')"
[ -z "$shots" ] || cp "$work/screen.png" "$shots/window-with-message-$desktop.png"
echo "remote browser ($desktop): all checks passed"
