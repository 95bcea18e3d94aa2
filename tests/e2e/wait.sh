# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the end-to-end helpers. Sourced.

# Waits until the command succeeds (up to about 10 seconds; a loaded machine is slow
# under the sanitizers).
wait_for() {
    wait_up_to 10 "$@"
}

# The same with a bound of its own, in whole seconds: wait_up_to 30 has_error_box.
wait_up_to() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Waits until the command succeeds, for at most the given milliseconds from now, looking
# every 50 ms: for what must happen within a bound (wait_within 1000 has_dialog).
wait_within() {
    local deadline=$(($(date +%s%N) / 1000000 + $1))
    shift
    while [ $(($(date +%s%N) / 1000000)) -lt "$deadline" ]; do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
