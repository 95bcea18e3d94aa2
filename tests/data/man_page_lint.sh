#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page formats without a warning from groff, as lintian checks it.
set -euo pipefail
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "FAIL: $warnings" >&2
    exit 1
fi
for section in NAME SYNOPSIS DESCRIPTION KEYS SETTINGS FILES; do
    grep -q "^\.SH $section" "$1" || { echo "FAIL: no $section section" >&2; exit 1; }
done
echo "man page: 1 passed, 0 failed"
