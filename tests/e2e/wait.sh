# Shared by the end-to-end helpers. Sourced.

# Waits until the command succeeds (up to about 10 seconds; a loaded machine is slow
# under the sanitizers).
wait_for() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
