#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the metafile fuzz target for SECONDS seconds (see run.sh).
#   fuzz/run-metafile.sh SECONDS [JOBS]
set -euo pipefail
JOBS=${2:-1} exec "$(dirname "$0")/run.sh" "${1:?usage: fuzz/run-metafile.sh SECONDS [JOBS]}" metafile
