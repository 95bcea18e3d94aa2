#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the picture fuzz target for SECONDS seconds (see run.sh).
#   fuzz/run-picture.sh SECONDS [JOBS]
set -euo pipefail
JOBS=${2:-1} exec "$(dirname "$0")/run.sh" "${1:?usage: fuzz/run-picture.sh SECONDS [JOBS]}" picture
