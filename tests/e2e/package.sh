#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The package as a user gets it: builds the .deb (lintian finds no error or warning in it),
# installs it with apt-get, runs /usr/bin/tarvik-timer as an ordinary user under Xvfb and
# openbox, saves the duration with the main window's save button, and checks that the user's
# ~/.config/tarvik-timer/config.dat holds it and /usr/bin holds nothing new; the same as root;
# turns the phone remote on once; then removes the package.
# Needs root (it installs a package and adds a user); skipped otherwise.
set -euo pipefail
source_dir=$1
build_dir=$2

if [ "$(id -u)" -ne 0 ]; then
    echo "package end-to-end: skipped, needs root"
    exit 77
fi
if dpkg-query -W -f='${Status}' tarvik-timer 2>/dev/null | grep -q 'install ok installed'; then
    echo "FAIL: tarvik-timer is installed already; this test installs and removes it" >&2
    exit 1
fi

program=/usr/bin/tarvik-timer
source "$(dirname "$0")/desktop.sh"
# A user of this test's own (other end-to-end tests have theirs).
user=tarvik-pkg-e2e
home="$work/home"
made_user=false
chmod 755 "$work"

remove_all() {
    apt-get remove --purge -y -q -o DPkg::Lock::Timeout=600 tarvik-timer >/dev/null 2>&1 || true
    if $made_user; then
        # The user's last processes may take a moment to go.
        removed() { userdel "$user" 2>/dev/null; }
        wait_for removed || true
        id "$user" >/dev/null 2>&1 && echo "warning: could not remove user $user" >&2
        rm -rf "/tmp/runtime-$user"
    fi
    return 0
}
trap 'cleanup; remove_all' EXIT

bash "$source_dir/scripts/package.sh" "$build_dir" >"$work/package.log" 2>&1 ||
    { tail -30 "$work/package.log" >&2; fail "the package did not build"; }
deb=$(ls "$build_dir"/tarvik-timer_*_*.deb)
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian reports errors or warnings"; }

ls -A /usr/bin >"$work/bin-before"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get could not install $deb"; }
[ -x "$program" ] || fail "$program is not installed"
ls -A /usr/bin >"$work/bin-installed"
[ "$(diff "$work/bin-before" "$work/bin-installed" | grep '^>')" = "> tarvik-timer" ] ||
    fail "the package put more than tarvik-timer into /usr/bin"

# An ordinary user with an empty home and no XDG_CONFIG_HOME.
if id "$user" >/dev/null 2>&1; then
    fail "user $user exists already (left by an earlier run?)"
fi
useradd --home-dir "$home" --create-home --shell /bin/sh "$user"
made_user=true

# The duration fields sit in the group at 8,4 of the top panel: hours at 24,18, minutes
# at 104,18, seconds at 190,18; the save button at 276,13.
set_field() {
    # The click gives the field the focus before the keys after it arrive.
    xdotool mousemove $((wx + $1)) $((wy + 32)) click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 50 "$2"
}
confirm_box() { xdotool search --onlyvisible --name "^确认$" 2>/dev/null | head -1; }
has_confirm_box() { [ -n "$(confirm_box)" ]; }

# Runs the installed program as owner (runuser's command before the program), types the
# duration h m s, saves it with the save button and OK, and checks the owner's settings
# file holds exactly that; then closes the program.
save_duration_as() {
    local owner=$1 owner_home=$2 h=$3 m=$4 s=$5
    shift 5
    "$@" env -i DISPLAY="$DISPLAY" HOME="$owner_home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 \
        "$program" >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
    wait_main_window
    read -r wx wy _ _ <<<"$(geometry "$window")"
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    set_field 50 "$h"
    set_field 135 "$m"
    set_field 215 "$s"
    xdotool mousemove $((wx + 314)) $((wy + 29)) click 1
    wait_for has_confirm_box || fail "no confirmation after the save button"
    xdotool windowactivate --sync "$(confirm_box)" key Return

    config="$owner_home/.config/tarvik-timer/config.dat"
    saved() { [ -f "$config" ] && grep -q "^miao=$s"$'\r$' "$config"; }
    wait_for saved || fail "the duration was not saved in $config"
    cmp -s "$config" <(printf '[SET]\r\nshi=%s\r\nfeng=%s\r\nmiao=%s\r\n' "$h" "$m" "$s") ||
        fail "config.dat holds: $(cat -A "$config")"
    [ "$(stat -c %U "$config")" = "$owner" ] || fail "config.dat is not $owner's"
    [ "$(stat -c %a "$(dirname "$config")")" = 700 ] || fail "the settings folder is not private"

    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
    expect_clean_exit
    ls -A /usr/bin >"$work/bin-after"
    diff "$work/bin-installed" "$work/bin-after" >&2 || fail "/usr/bin changed while the program ran"
    [ ! -e /usr/bin/config.dat ] || fail "a config.dat beside the installed program"
}

start_desktop
save_duration_as "$user" "$home" 2 15 30 runuser -u "$user" --
# Root can write into /usr/bin, and still keeps its settings in its own home.
mkdir -m 700 "$work/root-home"
save_duration_as root "$work/root-home" 0 45 5

# The phone remote, on in the settings, from the package's own network module; the default
# sound, from the package's own sound module.
remote_config="$work/remote-home/.config/tarvik-timer"
mkdir -p -m 700 "$remote_config"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf '[SET]\r\nremote=true\r\nremoteport=%s\r\n' "$port" >"$remote_config/config.dat"
env -i DISPLAY="$DISPLAY" HOME="$work/remote-home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 \
    TARVIK_REMOTE_LISTEN=127.0.0.1 TARVIK_REMOTE_LINKS="$work/links" \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
wait_main_window
has_links() { [ "$(wc -l 2>/dev/null <"$work/links")" = 2 ]; }
wait_for has_links || fail "the remote did not start: $(cat "$work/program.log")"
[ "$(curl -s -o /dev/null -w '%{http_code}' "$(sed -n 1p "$work/links")")" = 200 ] ||
    fail "the remote's view link does not answer"
grep -q '^.* /usr/lib/.*/tarvik-timer/libtarvik-remote\.so$' "/proc/$program_pid/maps" ||
    fail "the remote's module is not the package's"
sound_module_mapped() { grep -q '^.* /usr/lib/.*/tarvik-timer/libtarvik-sound\.so$' "/proc/$program_pid/maps"; }
wait_for sound_module_mapped || fail "the sound module is not the package's: $(cat "$work/program.log")"
# The screen-keeping module comes with the first countdown, not with the program.
awake_module_mapped() { grep -q '^.* /usr/lib/.*/tarvik-timer/libtarvik-awake\.so$' "/proc/$program_pid/maps"; }
! awake_module_mapped || fail "the screen-keeping module was loaded before any countdown"
xdotool windowactivate --sync "$window" key --clearmodifiers F4
wait_for awake_module_mapped || fail "the screen-keeping module is not the package's: $(cat "$work/program.log")"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
expect_clean_exit

DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -q -o DPkg::Lock::Timeout=600 \
    tarvik-timer >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "could not remove"; }
[ ! -e "$program" ] || fail "$program is still there after removal"
ls -A /usr/bin >"$work/bin-removed"
diff "$work/bin-before" "$work/bin-removed" >&2 || fail "/usr/bin differs after removal"
echo "package end-to-end: 1 passed, 0 failed"
