#!/usr/bin/env bash
# Runs a program under a private X server, D-Bus session and AT-SPI bus, and reads it with a
# pyatspi script as a screen reader would.
#   run_check.sh PROGRAM SCRIPT [SCRIPT-ARGUMENTS...]
# The script finds the program's standard input, a pipe, in KORVANE_PROBE_INPUT.
# Exit codes: 0 passed, 1 failed, 77 skipped (what is missing is printed).
set -u
PROGRAM=$1
SCRIPT=$2
SKIP=77
PYTHON=/usr/bin/python3
LAUNCHER=/usr/libexec/at-spi-bus-launcher

skip() { echo "SKIP: $*"; exit $SKIP; }

for tool in Xvfb dbus-daemon; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x "$LAUNCHER" ] || skip "at-spi2-core is not installed ($LAUNCHER missing)"
"$PYTHON" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

WORK=$(mktemp -d)
PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    sleep 0.2
    for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Waits up to $2 tenths of a second for a file to be non-empty; gives up early when the
# process $3 (if given) has ended.
wait_for_file() {
    local i
    for ((i = 0; i < $2; i++)); do
        [ -s "$1" ] && return 0
        [ -n "${3:-}" ] && ! kill -0 "$3" 2>/dev/null && return 1
        sleep 0.1
    done
    return 1
}

# The X server picks a free display and writes its number.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
exec 3>&-
wait_for_file "$WORK/display" 50 "${PIDS[-1]}" || { cat "$WORK/xvfb.log"; skip "no X server could start (Xvfb)"; }
export DISPLAY=":$(head -n1 "$WORK/display")"

dbus-daemon --session --fork --nopidfile --print-address=4 --print-pid=5 \
    4>"$WORK/bus-address" 5>"$WORK/bus-pid" || skip "no D-Bus session could start"
wait_for_file "$WORK/bus-pid" 30 || skip "no D-Bus session could start"
PIDS+=($(cat "$WORK/bus-pid"))
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$WORK/bus-address")

# The accessibility bus and its registry (the launcher starts both and stops them with itself).
"$LAUNCHER" --launch-immediately >"$WORK/launcher.log" 2>&1 &
PIDS+=($!)

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export PYTHONDONTWRITEBYTECODE=1   # no caches beside the scripts in the source tree
export QT_QPA_PLATFORM=xcb
export QT_ACCESSIBILITY=1
export NO_AT_BRIDGE=0
unset QT_SCALE_FACTOR
mkfifo "$WORK/input"
exec 6<>"$WORK/input"   # keeps the pipe open, so neither side blocks on opening it
export KORVANE_PROBE_INPUT="$WORK/input"
"$PROGRAM" <"$WORK/input" >"$WORK/program.log" 2>&1 &
PIDS+=($!)

timeout 60 "$PYTHON" "$SCRIPT" "${@:3}"
rc=$?
if [ $rc -ne 0 ] && [ $rc -ne $SKIP ]; then
    echo "--- program output"; cat "$WORK/program.log"
    [ $rc -eq 124 ] && echo "FAILED: the reader timed out"
    rc=1
fi
exit $rc
