# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the measuring scripts: wake-ups of a process, counted as voluntary context
# switches of all its threads (it slept and was woken; preemptions by other processes are
# left out), from /proc/PID/task/*/status. Sourced.

# Every thread's count, read in one pass: lines "tid name count". A pass that forks per
# thread takes tens of milliseconds on a slow host, and a thread read that much later in
# the second pass than in the first gains the wake-ups of that stretch.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk -F'\t' '/^Name:/ { name = $2; gsub(/ /, "_", name) }
                    /^Pid:/ { tid = $2 }
                    /^voluntary_ctxt_switches:/ { print tid, name, $2 }'
}

# Wake-ups per second of process $1 over about $2 seconds, by the time that really passed
# between the two passes; per-thread counts appended to file $3. A thread that came or went
# meanwhile counts with what it did while both passes saw it.
wakeups() {
    local before after start end
    start=$(date +%s.%N)
    before=$(switches "$1")
    sleep "$2"
    end=$(date +%s.%N)
    after=$(switches "$1")
    join <(sort <<<"$before") <(sort <<<"$after") |
        awk -v s="$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" -v out="$3" \
            '{ d = $5 - $3; total += d; printf "%s %d\n", $2, d >> out }
             END { printf "%.2f\n", total / s }'
}
