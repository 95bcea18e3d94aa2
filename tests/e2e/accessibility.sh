#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screen readers over the real AT-SPI bus: the main window's and the settings dialog's
# trees with names and roles, and the display read as words after a tick.
# Prints the trees; run with --trees-to DIR to keep them.
set -euo pipefail
program=$1
if [ -z "${TARVIK_A11Y_SESSION:-}" ]; then
    # A session bus of its own, on which the accessibility bus is started on demand.
    exec env TARVIK_A11Y_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/desktop.sh"
here=$(cd "$(dirname "$0")" && pwd)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Debian's python, which has the pyatspi package, whatever else is first on the path.
atspi() { /usr/bin/python3 "$here/accessibility.py" "$@"; }
read_tree() { atspi tree "$1"; }

start_desktop
start_program $'[SET]\r\nmp3=\r\nshi=0\r\nfeng=1\r\nmiao=0\r\n'
wait_main_window

main_tree=$(read_tree "$title") || fail "no accessible main window"
echo "== main window"
echo "$main_tree"
expect() { # tree line...
    local tree=$1 line
    shift
    for line in "$@"; do
        grep -qF -- "$line" <<<"$tree" || fail "not in the tree: $line"
    done
}
expect "$main_tree" \
    'push button "开始计时" [按保存的计时时长开始倒计时]' \
    'push button "保存设置" [把计时时长保存到设置文件]' \
    '"计时时长（时）"' '"计时时长（分）"' '"计时时长（秒）"' \
    'text "计时总秒数" (labelled by "计时总秒数：")' \
    'text "已过秒数" (labelled by "已过秒数：")' 'text "剩余秒数" (labelled by "剩余秒数：")' \
    'filler "增加"' 'filler "减少"' \
    'label "剩余 0 秒" [倒计时显示]'

# One tick after the start the display says the time left in words.
press F4
atspi wait-name "剩余 59 秒" || fail "the display's name did not follow the tick"
press F7

press F11
dialog_tree=$(read_tree "参数设置") || fail "no accessible settings dialog"
echo "== settings dialog"
echo "$dialog_tree"
expect "$dialog_tree" \
    'dialog "参数设置"' \
    'check box "显示窗体头条" [在主窗口上方显示计时时长和秒数]' \
    'check box "数字自动适应窗口"' \
    'push button "参数设置" [把全部参数保存到设置文件]' \
    'push button "退出设置" [关闭本窗口]' \
    'combo box "clRed" [前景色]' \
    'combo box "clBlack" (labelled by "背景色：")' \
    '(labelled by "字体大小：")' \
    'text "音乐文件" (labelled by "音乐文件：")' \
    'text "音乐提前秒数" (labelled by "音乐提前' \
    'text "图标文件"' \
    'combo box "自动（窗口所在显示器）" (labelled by "全屏显示器：")' \
    'push button "Browse"'
