# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the measuring scripts: a work folder removed at exit, and an Xvfb desktop with
# openbox on a free display. Sourced; processes started later go into pids.

# A desktop has a session bus. Without one, every Qt program starts a bus of its own through
# dbus-launch, which costs each start tens of milliseconds and makes the timings noisy.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -z "${TARVIK_BENCH_IN_BUS:-}" ] && command -v dbus-run-session >/dev/null; then
    TARVIK_BENCH_IN_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
pids=()
# And a runtime folder, where programs keep their locks and sockets.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export LC_ALL=C.UTF-8

for n in $(seq 140 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
export DISPLAY=${display:?no free display}
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
