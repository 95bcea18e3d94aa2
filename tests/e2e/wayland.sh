#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a Wayland compositor (headless sway) with swaybar's tray as the
# StatusNotifierItem host: the display modes for F10, F8 and F9 from every mode, the
# countdown on screen with its finish message, the menu key's menu, the settings
# dialog, the tray icon's look, tooltip, menu and activation, a tray host that goes
# away while the window is hidden, and F12.
# Leaves wayland_states.md (the measured state table) and wayland_tray.png (the tray)
# in the working directory.
set -euo pipefail
program=$1
source "$(dirname "$0")/sway.sh"

start_sway tray
start_program $'[SET]\r\nshi=0\r\nfeng=0\r\nmiao=4\r\nmp3=\r\n'
wait_for is_state framed || fail "not framed at start: $(main_state)"

# The icon: registered with swaybar's watcher, with the tooltip and the clock.
item() { watcher_items | grep -o '":[0-9.]*/StatusNotifierItem"' | tr -d '"'; }
wait_for item >/dev/null || fail "no StatusNotifierItem registered"
sni_service=$(item | cut -d/ -f1)
# swaybar draws the icon at the right end of the bar; its clicks reach the program
# over D-Bus (left: Activate, middle: SecondaryActivate, right: ContextMenu).
tray_click() { pointer move $((screen_w - 11)) $((screen_h - 12)) "$@"; }
sni_property() {
    in_session busctl --user --json=short get-property "$sni_service" /StatusNotifierItem \
        org.kde.StatusNotifierItem "$1" | jq -c .data
}
tooltip=$(sni_property ToolTip | jq -r '.[2]')
[ "$tooltip" = "$title" ] || fail "tooltip: $tooltip"
[ "$(sni_property Status)" = '"Active"' ] || fail "status: $(sni_property Status)"

# swaybar draws the clock at the right end of the bar: its red frame shows there, once
# the bar has fetched and drawn it.
tray_shows_clock() {
    screenshot "$work/tray.png"
    convert "$work/tray.png" -crop 40x30+$((screen_w - 40))+$((screen_h - 30)) +repage "$work/tray-corner.png"
    red=$(convert "$work/tray-corner.png" -fuzz 25% -fill white -opaque '#FF0000' -fill black +opaque white \
        -format '%[fx:mean]' info:)
    awk -v f="$red" 'BEGIN { exit !(f > 0.02) }'
}
wait_for tray_shows_clock || fail "no red clock frame in the tray (fraction $red)"
convert "$work/tray-corner.png" -scale 800% wayland_tray.png
cp "$work/tray.png" wayland_screen.png

differs() {
    local n
    n=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "${n%% *}" != 0 ]
}

# A right click on the display opens the menu at the pointer; Escape closes it.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }
# The menu's white between captions and keys at x+90, y+100 from its corner, and the
# black display beyond it.
menu_at() { # file x y
    local r g b
    read -r r g b <<<"$(pixel "$1" $(($2 + 90)) $(($3 + 100)))"
    [ "$r" -gt 200 ] && [ "$g" -gt 200 ] && [ "$b" -gt 200 ] || return 1
    read -r r g b <<<"$(pixel "$1" $(($2 + 400)) $(($3 + 100)))"
    [ "$r$g$b" = 000 ]
}
shows_menu_at() { screenshot "$work/$1.png" && menu_at "$work/$1.png" "$2" "$3"; }
shows_no_menu_at() { ! shows_menu_at "$@"; }
pointer move 600 400 click right
wait_for shows_menu_at pointer-menu 600 400 || fail "no menu at the pointer"
key Escape
wait_for shows_no_menu_at pointer-menu-closed 600 400 || fail "the menu did not close"
# The menu came and went: the click has been handled, and changed nothing else.
is_state framed || fail "the right click changed the display: $(main_state)"

# The total counter has the focus at start; Shift+Tab takes it back round to the start
# button, which has no menu of its own, so the menu key opens the command menu at the
# client area's top-left corner; 全屏显示 is the sixth enabled item while idle, under the
# quick-start submenu. (The
# session's own keyboard stays, so the menu stays open between keys.)
read -r cx cy <<<"$(main_window | jq -r '"\(.rect.x) \(.rect.y)"')"
in_session wtype -s 400 -M shift -k Tab -m shift
on_start_button() { [[ "$(focused_widget)" == "push button 开始计时 "* ]]; }
wait_for on_start_button || fail "Shift+Tab did not reach the start button: $(focused_widget)"
key Menu
wait_for shows_menu_at menu "$cx" "$cy" || fail "no menu at the client area"
key Down -k Down -k Down -k Down -k Down -k Down -k Return
wait_for is_state full || fail "全屏显示 from the menu: $(main_state)"
key F8
wait_for is_state framed || fail "F8 after the menu: $(main_state)"

# The countdown shows on screen: red digits that change after F4, then the finish
# message, centred on the main window.
digits() {
    convert "$1" -crop 800x200+240+300 +repage -fuzz 25% -fill white -opaque '#FF0000' \
        -fill black +opaque white -format '%[fx:mean]' info:
}
screenshot "$work/idle.png"
key F4
counting_shown() {
    screenshot "$work/running.png"
    awk -v f="$(digits "$work/running.png")" 'BEGIN { exit !(f > 0.01) }' &&
        differs "$work/idle.png" "$work/running.png"
}
wait_for counting_shown || fail "no red digits that changed after F4"

# Its centre against the main window's frame (title bar included): on the same point
# across, and vertically within a title bar's height.
centred_on_main() {
    local w m
    w=$(window_named "$1")
    m=$(main_window)
    [ -n "$w" ] && [ -n "$m" ] || return 1
    jq -n --argjson w "$w" --argjson m "$m" '
        ($w.rect.x + $w.rect.width / 2) as $wx | ($w.rect.y + $w.rect.height / 2) as $wy |
        ($m.rect.x + $m.rect.width / 2) as $mx |
        ($m.rect.y - $m.deco_rect.height + ($m.rect.height + $m.deco_rect.height) / 2) as $my |
        ($wx - $mx | fabs) <= 2 and ($wy - $my | fabs) <= $m.deco_rect.height' | grep -qx true
}
# Modal: a right click on the main window's display beside the dialog opens no menu,
# and F10 with the main window focused by that click changes nothing. Handled before
# the dialog closes, they have been handled once it has gone; a menu opened by them
# would still be there then. Qt acts on the compositor's close as soon as it reads it,
# ahead of input read with it, while keys are handled in turn: so either the dialog
# closes by a key, or the keys before the close are proven handled.
send_to_blocked_main() {
    pointer move 150 300 click right
    key F10
}
blocked_main() {
    is_state framed || return 1
    screenshot "$work/blocked.png"
    ! menu_at "$work/blocked.png" 150 300 || return 1
    local r g b
    read -r r g b <<<"$(pixel "$work/blocked.png" 240 400)"
    [ "$r$g$b" = 000 ]
}
close_window() { in_session swaymsg "[title=\"^$1\$\"] kill" >/dev/null; }
focus() { in_session swaymsg "[title=\"^$1\$\"] focus" >/dev/null; }
floating() { [ "$(window_named "$1" | jq -r .type)" = floating_con ]; }
has_window() { [ -n "$(window_named "$1")" ]; }
no_window() { [ -z "$(window_named "$1")" ]; }

wait_for has_window "计时完成提醒" || fail "no finish message"
floating "计时完成提醒" || fail "the finish message is not a dialog: $(window_named "计时完成提醒")"
centred_on_main "计时完成提醒" || fail "the finish message is off centre: $(window_named "计时完成提醒")"
send_to_blocked_main
focus "计时完成提醒"
key Return
wait_for no_window "计时完成提醒" || fail "the finish message did not close by Return"
blocked_main || fail "the main window answered a right click or F10 under the finish message: $(main_state)"

# Display modes: each key from each mode, as the compositor reports them.
table="wayland_states.md"
{
    echo "| key | from | compositor state after the key |"
    echo "|---|---|---|"
} >"$table"
reach() {
    case "$1" in
        framed) if [ "$(main_state)" = hidden ]; then tray_click click left; wait_for is_state full; fi
                key F8 ;;
        full) if [ "$(main_state)" = hidden ]; then tray_click click left; else key F10; fi ;;
        hidden) [ "$(main_state)" = hidden ] || key F9 ;;
    esac
    wait_for is_state "$1" || fail "could not reach $1: $(main_state)"
}
for from in framed full hidden; do
    for k in F10 F8 F9; do
        case "$from $k" in
            hidden\ *) want=hidden ;; # no window, so no key reaches the program
            *\ F10) want=full ;;
            *\ F8) want=framed ;;
            *\ F9) want=hidden ;;
        esac
        reach "$from"
        if [ "$from" = hidden ]; then
            # Nothing of the program's has the focus: the key has nowhere to go.
            [ -z "$(windows | jq -c 'select(.focused)')" ] || fail "a window of the program has the focus while hidden"
            key "$k"
        else
            key "$k"
            wait_for is_state "$want" || true
            # Read once a later key has been handled (from full screen to full screen,
            # for one, nothing changes to wait for).
            [ "$want" = hidden ] || prove_delivered "$k from $from"
        fi
        got=$(main_state)
        w=$(main_window)
        detail="absent from the tree"
        [ -z "$w" ] || detail=$(jq -r '"fullscreen_mode \(.fullscreen_mode), visible \(.visible), \(.type), border \(.border), \(.rect.width)x\(.rect.height)+\(.rect.x)+\(.rect.y)"' <<<"$w")
        echo "| $k | $from | $got: $detail |" >>"$table"
        [ "$got" = "$want" ] || fail "$k from $from: $got, expected $want"
    done
done
cat "$table"

# The settings dialog: modal, centred, keeps its keys, closes by its close box.
reach framed
key F11
wait_for has_window "参数设置" || fail "F11 opened no settings dialog"
floating "参数设置" || fail "the settings dialog is not a dialog"
centred_on_main "参数设置" || fail "the settings dialog is off centre: $(window_named "参数设置")"
send_to_blocked_main
focus "参数设置"
key F10
key F12
prove_delivered "F10 and F12 in the settings dialog"
close_window "参数设置"
wait_for no_window "参数设置" || fail "the settings dialog did not close"
blocked_main || fail "the main window answered a right click or F10 under the settings dialog, or F10 in it: $(main_state)"
program_ended && fail "F12 in the settings dialog, or its closing, ended the program"
prove_delivered "the settings dialog's closing"
program_ended && fail "closing the settings dialog ended the program"

# The tray, clicked in swaybar: the left click (Activate) stands for the double click,
# the middle click does nothing, the right click (ContextMenu) opens the menu.
# The bus shows the middle click's call on its way to the program; a question asked
# after it is answered after it has been handled.
: >"$work/sni-calls.log"
chmod 666 "$work/sni-calls.log"
in_session dbus-monitor "type='method_call',interface='org.kde.StatusNotifierItem'" >>"$work/sni-calls.log" 2>&1 &
monitor_pid=$!
monitoring() { grep -q 'member=Hello\|NameAcquired' "$work/sni-calls.log"; }
wait_for monitoring || fail "dbus-monitor did not start: $(cat "$work/sni-calls.log")"
tray_click click middle
called() { grep -q "member=$1" "$work/sni-calls.log"; }
wait_for called SecondaryActivate || fail "the middle click sent no SecondaryActivate: $(cat "$work/sni-calls.log")"
sni_property Status >/dev/null
kill "$monitor_pid"
wait "$monitor_pid" 2>/dev/null || true
monitor_pid=""
is_state framed || fail "the middle click changed the display: $(main_state)"
tray_click click left
wait_for is_state full || fail "the tray's click from window display: $(main_state)"
key F9
wait_for is_state hidden || fail "F9: $(main_state)"
tray_click double left
wait_for is_state full || fail "the tray's double click from hidden display: $(main_state)"

# From hidden display the menu has no window to open from: it comes as a small
# floating window of its own. 窗口显示, its fourth enabled item (under the quick-start submenu),
# chosen with the keys, brings the window back.
key F9
wait_for is_state hidden || fail "F9: $(main_state)"
tray_click click right
wait_for has_window "$title" || fail "no menu from the tray while hidden"
floating "$title" || fail "the tray's menu is tiled: $(window_named "$title")"
read -r mx my mh <<<"$(window_named "$title" | jq -r '"\(.rect.x) \(.rect.y) \(.rect.height)"')"
[ "$mh" -lt 400 ] || fail "the tray's menu is stretched"
key Down -k Down -k Down -k Down -k Return
wait_for is_state framed || fail "窗口显示 from the tray's menu: $(main_state)"
wait_for no_window "$title" || fail "the tray's menu stayed open"

# With the window shown the menu opens over it, where the program last saw the
# pointer (a Wayland client learns no other place); Escape closes it.
display_area() { convert "$1" -crop ${screen_w}x600+0+100 +repage "$1.area.png"; echo "$1.area.png"; }
# The display before: the same in two screenshots in a row (the window repainted after
# the menu's window went), the pointer already over the tray, off the display.
pointer move $((screen_w - 11)) $((screen_h - 12))
display_settled() {
    screenshot "$work/before-menu.png"
    screenshot "$work/before-menu-2.png"
    ! differs "$(display_area "$work/before-menu.png")" "$(display_area "$work/before-menu-2.png")"
}
wait_for display_settled || fail "the display did not settle"
tray_click click right
menu_over_window() {
    screenshot "$work/tray-menu.png"
    differs "$(display_area "$work/before-menu.png")" "$(display_area "$work/tray-menu.png")"
}
wait_for menu_over_window || fail "no menu over the window from the tray"
key Escape
menu_closed() { ! { screenshot "$work/after-menu.png" && differs "$(display_area "$work/before-menu.png")" "$(display_area "$work/after-menu.png")"; }; }
wait_for menu_closed || fail "the tray's menu did not close"
is_state framed || fail "Escape in the tray's menu changed the display: $(main_state)"

# Dialogs over the hidden window: closing them neither ends the program nor loses the
# window. The finish message comes while hidden...
key F4
key F9
wait_for is_state hidden || fail "F9 while counting: $(main_state)"
wait_for has_window "计时完成提醒" || fail "no finish message while hidden"
focus "计时完成提醒"
key Return
wait_for no_window "计时完成提醒" || fail "the finish message did not close"
# ... and 参数设置, the menu's first row under the quick starts, opens the settings from the tray: a menu shown
# after the message closed also proves the program did not end with it.
tray_click click right
wait_for has_window "$title" || fail "no menu from the tray while hidden"
program_ended && fail "closing the finish message over the hidden window ended the program"
key Down -k Down -k Return
wait_for has_window "参数设置" || fail "no settings dialog from the tray's menu"
in_session swaymsg '[title="^参数设置$"] kill' >/dev/null
wait_for no_window "参数设置" || fail "the settings dialog did not close"
# The tray's menu, opened and closed after that, proves the closing handled.
tray_click click right
wait_for has_window "$title" || fail "no menu from the tray after the settings closed"
program_ended && fail "closing the settings over the hidden window ended the program"
key Escape
wait_for no_window "$title" || fail "Escape did not close the tray's menu"
is_state hidden || fail "the settings changed the display: $(main_state)"
tray_click click left
wait_for is_state full || fail "the tray's click after the dialogs: $(main_state)"
key F8
wait_for is_state framed || fail "F8 after the dialogs: $(main_state)"

# The tray host goes away while the window is hidden: the window comes back. When
# the bar returns the icon registers again and hides the window once more.
key F9
wait_for is_state hidden || fail "F9 before the bar went away"
bar_pid=$(pgrep -s "$session_pid" -x swaybar || true)
[ -n "$bar_pid" ] || fail "no swaybar"
kill "$bar_pid"
wait_for is_state framed || fail "the window stayed hidden without a tray: $(main_state)"
in_session swaymsg reload >/dev/null
wait_for item >/dev/null || fail "the icon did not register with the new bar"
sni_service=$(item | cut -d/ -f1)
# F9 hides once the program has seen the new bar's host; until then it only asks to
# minimise, which sway ignores, so it is pressed again.
hides_on_f9() { is_state hidden || { key F9; is_state hidden; }; }
wait_for hides_on_f9 || fail "F9 with the new bar: $(main_state)"
tray_click click left
wait_for is_state full || fail "the new bar's click: $(main_state)"

# F12 ends the program cleanly and its icon leaves the tray.
key F12
expect_clean_exit
no_item() { [ -z "$(item)" ]; }
wait_for no_item || fail "the icon is still registered after the program ended"
grep -q -E 'QObject::connect|No such signal' "$work/program.log" && fail "warnings in the log"
echo "wayland end-to-end: 1 passed, 0 failed"
