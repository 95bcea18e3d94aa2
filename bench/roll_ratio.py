#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Cost of a shaded roll frame against plain copies of as many pixels, in one run.

Usage: bench/roll_ratio.py BUILD/bench/bench_effects [REPETITIONS]

Runs the roll frame benchmarks and their references in the same process and prints, for each
frame size and direction, the median processor time per frame of the shaded frame, the flat
frame, a copy of the band in one place and a copy of the band moving across the frame, with
the shaded frame's ratio to each copy.
"""
import json
import os
import subprocess
import sys

DIRECTIONS = ["right", "left", "down", "up"]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    repetitions = sys.argv[2] if len(sys.argv) > 2 else "7"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = subprocess.run(
        [sys.argv[1], "--benchmark_filter=RollFrame|PlainCopy",
         "--benchmark_repetitions=" + repetitions, "--benchmark_format=json"],
        check=True, capture_output=True, text=True, env=env).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"].split("/")
        args = dict(part.split(":") for part in name[1:] if ":" in part)
        key = (int(args["w"]), int(args["h"]), int(args["dir"]))
        medians.setdefault(key, {})[name[0]] = b["cpu_time"]
    with open("/proc/loadavg") as f:
        print("load average:", " ".join(f.read().split()[:3]))
    print("median processor time per frame, ns, of %s runs" % repetitions)
    print("%-11s %-6s %9s %9s %9s %9s %12s %12s" % (
        "size", "dir", "shaded", "flat", "copy", "moving", "shaded/copy", "shaded/moving"))
    worst = 0.0
    for (w, h, d), m in sorted(medians.items()):
        shaded, copy, moving = m["BM_RollFrameShaded"], m["BM_PlainCopy"], m["BM_PlainCopyMoving"]
        worst = max(worst, shaded / copy)
        print("%-11s %-6s %9.0f %9.0f %9.0f %9.0f %12.2f %12.2f" % (
            "%dx%d" % (w, h), DIRECTIONS[d], shaded, m["BM_RollFrameFlat"], copy, moving,
            shaded / copy, shaded / moving))
    print("largest shaded/copy ratio: %.2f" % worst)


if __name__ == "__main__":
    main()
