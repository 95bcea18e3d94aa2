# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the stage end-to-end scripts: the digits' colour read from a screenshot, and
# dunst as the session's notification server, logging what it receives. Sourced after
# desktop.sh or sway.sh; expects $work.

# The display's most common colour other than its black background, as a name: white,
# yellow, red, aqua, or blank when the digits are not there. $1: the screenshot; $2: the
# region to look at (WxH+X+Y).
digit_colour() {
    local top
    top=$(convert "$1" -crop "$2" +repage -format %c histogram:info:- |
        grep -v -i '#000000' | sort -rn | head -1 | grep -o '#[0-9A-Fa-f]\{6\}' || true)
    case "${top^^}" in
    '#FFFFFF') echo white ;;
    '#FFFF00') echo yellow ;;
    '#FF0000') echo red ;;
    '#00FFFF') echo aqua ;;
    '') echo blank ;;
    *) echo "other:$top" ;;
    esac
}

# Digits in that colour, blanked, then in it again, within 60 screenshots (shot, from the
# caller, takes one into $work/shot.png and names its colour); the two phases are kept as
# NAME-on.png and NAME-off.png.
expect_blinking() { # colour name
    local blinked="" colour=""
    for _ in $(seq 60); do
        colour=$(shot)
        case "$blinked:$colour" in
        ":$1") blinked=on; keep_shot "$work/shot.png" "$2-on.png" ;;
        on:blank) blinked=off; keep_shot "$work/shot.png" "$2-off.png" ;;
        "off:$1") blinked=again; break ;;
        esac
    done
    [ "$blinked" = again ] || fail "the digits did not blink in $1 (last: $blinked, $colour)"
    echo "blinking: $1, blank, $1 again"
}

# The digits in that colour on four screenshots in a row.
steady() { # colour
    for _ in 1 2 3 4; do [ "$(shot)" = "$1" ] || return 1; done
}

# Keeps the screenshot under the given name where the caller wants the pictures ($shots).
keep_shot() { # file name
    [ -z "${shots:-}" ] || cp "$1" "$shots/$2"
}

# dunst with a rule that writes every notification it receives, "summary|body" a line.
start_dunst() { # command prefix to run it in the session
    cat >"$work/notified.sh" <<'SH'
#!/bin/sh
printf '%s|%s\n' "$2" "$3" >>"$(dirname "$0")/notifications.log"
SH
    chmod 755 "$work/notified.sh"
    : >"$work/notifications.log"
    # dunst may run as another user.
    chmod 666 "$work/notifications.log"
    cat >"$work/dunstrc" <<CONF
[global]
    idle_threshold = 0
[log_every_one]
    summary = "*"
    script = $work/notified.sh
CONF
    "$@" dunst -config "$work/dunstrc" >"$work/dunst.log" 2>&1 &
    dunst_pid=$!
}
