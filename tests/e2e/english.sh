#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program under an English locale: its menu and its finish box read off the screen
# by OCR. With TARVIK_SCREENSHOTS=DIR the pictures read are kept there.
set -euo pipefail
program=$1
source "$(dirname "$0")/desktop.sh"
title="Tarvik Countdown Timer"
shots=${TARVIK_SCREENSHOTS:-$work}

# English by the usual variables; only the program sees them (the locale need not be
# installed: the program reads the names).
start_english() {
    cp "$program" "$work/tarvik-timer"
    cp "$(dirname "$program")"/libtarvik-*.so "$work/"
    printf '%s' $'[SET]\r\nmp3=\r\nshi=0\r\nfeng=0\r\nmiao=2\r\n' >"$work/config.dat"
    env LC_ALL=en_US.UTF-8 LANGUAGE=en_US:en "$work/tarvik-timer" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
}

# The words tesseract reads in window $1, saved as $2.png: enlarged, as the menu's
# 8-point text is small for it, and greyed text made black.
read_window() {
    import -window "$1" "$shots/$2.png"
    convert "$shots/$2.png" -resize 300% -colorspace Gray -threshold 90% "$work/$2-big.png"
    tesseract "$work/$2-big.png" - --psm 6 2>/dev/null
}
expect_words() { # text word...
    local text=$1 word
    shift
    for word in "$@"; do
        grep -qiF -- "$word" <<<"$text" || fail "\"$word\" not read; read: $text"
    done
}

start_desktop
start_english
wait_main_window

xdotool mousemove --sync 600 400 click 3
wait_for popup_menu || fail "no menu on a right click on the display"
menu_text=$(read_window "$(popup_menu)" menu-en)
echo "== menu: $menu_text"
expect_words "$menu_text" Settings Start Pause Continue "End now" Window Hide "Full screen" Exit \
    F4 F5 F6 F7 F8 F10 F12
xdotool key Escape
wait_for no_popup_menu || fail "the menu did not close"

press F4
finish_box() { xdotool search --onlyvisible --name '^Time is up$' 2>/dev/null | head -1 || true; }
has_finish_box() { [ -n "$(finish_box)" ]; }
wait_for has_finish_box || fail "no finish box titled \"Time is up\""
box_text=$(read_window "$(finish_box)" finish-en)
echo "== finish box: $box_text"
expect_words "$box_text" "Hello, your countdown has finished. Thank you!"
xdotool windowactivate --sync "$(finish_box)" key Return
press F12
expect_clean_exit
