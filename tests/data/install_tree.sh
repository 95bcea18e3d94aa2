#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake --install to a user's prefix gives the same tree as the package.
set -euo pipefail
build=$1
id=$2
libdir=$3 # lib/<arch> for the prefix /usr on Debian, lib elsewhere
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix/.local" >/dev/null

expected="bin/tarvik-timer
$libdir/tarvik-timer/libtarvik-awake.so
$libdir/tarvik-timer/libtarvik-remote.so
$libdir/tarvik-timer/libtarvik-sound.so
share/applications/$id.desktop
share/bash-completion/completions/tarvik-timer
share/dbus-1/interfaces/io.github.tarvik.Timer1.xml
share/doc/tarvik-timer/changelog.gz
share/doc/tarvik-timer/copyright
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/16x16/apps/$id.png
share/icons/hicolor/22x22/apps/$id.png
share/icons/hicolor/24x24/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/64x64/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/tarvik-timer.1.gz
share/metainfo/$id.metainfo.xml
share/tarvik-timer/chime.mp3"
actual=$(cd "$prefix/.local" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual") >&2 || true
    echo "FAIL: the installed tree differs" >&2
    exit 1
fi
[ -x "$prefix/.local/bin/tarvik-timer" ] || { echo "FAIL: program not executable" >&2; exit 1; }
desktop-file-validate "$prefix/.local/share/applications/$id.desktop"
echo "install tree: 1 passed, 0 failed"
