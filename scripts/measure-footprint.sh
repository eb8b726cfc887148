#!/usr/bin/env bash
# How much the idle meter costs: runs the built program on a line that stays
# down for N seconds (default 600) and reports the CPU time it used, as a share
# of one core, and its peak memory, beside a bare Qt Widgets window program run
# the same way for the same time, and beside that bare program waking every
# second for nothing (the floor for any program with a one-second timer). All
# run at once, each in its own temporary world, so the machine's load is the
# same for all.
#
#   scripts/measure-footprint.sh [--tray] [seconds]
#
# By default both run on Qt's offscreen platform, where there is no tray, so the
# meter's window stays shown. With --tray both run on one X server (Xvfb) with a
# notification area (trayer), where the meter hides in the tray as it does on a
# user's desktop, and the bare window is shown.
#
# TOLLIX_BUILD_DIR picks the build folder (default: build). Targets: at most
# 0.03 % of one core; memory at most 1.15 times the bare program's.
set -euo pipefail

tray=0
if [[ "${1:-}" == --tray ]]; then
    tray=1
    shift
fi
seconds="${1:-600}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds < 10)); then
    echo "usage: $0 [--tray] [seconds, at least 10, default 600]" >&2
    exit 2
fi
# Start-up is not idling: the idle figure counts from this many seconds in.
settle=5

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TOLLIX_BUILD_DIR:-$repo/build}"
tollix="$build/tollix"
bare="$build/benchmarks/gui/bare_window"
for program in "$tollix" "$bare"; do
    if [[ ! -x "$program" ]]; then
        echo "$program not found: build the targets tollix and bare_window first." >&2
        exit 1
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/tollix-footprint-XXXXXX")"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A pppd world with one phonebook entry and no PPP link up.
world() {
    local dir="$1"
    mkdir -p "$dir/home" "$dir/root/etc/ppp/peers" "$dir/root/run" "$dir/root/proc" "$dir/runtime"
    chmod 700 "$dir/runtime"
    printf '/dev/ttyS0\n115200\n' >"$dir/root/etc/ppp/peers/Home"
    local name type flags
    while read -r name type flags; do
        mkdir -p "$dir/root/sys/class/net/$name"
        echo "$type" >"$dir/root/sys/class/net/$name/type"
        echo "$flags" >"$dir/root/sys/class/net/$name/flags"
    done <<'EOF'
lo 772 0x9
eth0 1 0x1003
EOF
    printf '[Start Settings]\r\nAuto Hide=-1\r\n' >"$dir/home/tollix.ini"
}

platform=(QT_QPA_PLATFORM=offscreen)
if ((tray)); then
    for tool in Xvfb trayer; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool not found: scripts/setup.sh installs it." >&2
            exit 1
        fi
    done
    # Xvfb writes its display number on the descriptor it is given once it
    # takes connections.
    Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp >"$work/display" 2>/dev/null &
    pids+=("$!")
    for _ in $(seq 100); do
        [[ -s "$work/display" ]] && break
        sleep 0.1
    done
    if [[ ! -s "$work/display" ]]; then
        echo "Xvfb did not start." >&2
        exit 1
    fi
    display=":$(head -n1 "$work/display")"
    DISPLAY="$display" trayer --edge bottom --widthtype pixel --width 200 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    platform=(QT_QPA_PLATFORM=xcb DISPLAY="$display")
fi

launch() {
    local dir="$1"
    shift
    env "${platform[@]}" TOLLIX_HOME="$dir/home" TOLLIX_PPP_ROOT="$dir/root" \
        XDG_RUNTIME_DIR="$dir/runtime" QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false" \
        "$@" >"$dir/stdout" 2>"$dir/stderr" &
    pids+=("$!")
}

# CPU time of every thread, in nanoseconds, from the scheduler's own count:
# the clock-tick counts of /proc/PID/stat are too coarse for an idle program.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d\n", ns }'
}

status_kb() {
    awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"
}

world "$work/tollix"
world "$work/bare"
world "$work/tick"
launch "$work/tollix" "$tollix"
launch "$work/bare" "$bare"
launch "$work/tick" "$bare" --tick
tollix_pid="${pids[-3]}"
bare_pid="${pids[-2]}"
tick_pid="${pids[-1]}"

alive() {
    if ! kill -0 "$1" 2>/dev/null; then
        echo "$2 ended early:" >&2
        cat "$3/stderr" >&2
        exit 1
    fi
}

sleep "$settle"
alive "$tollix_pid" tollix "$work/tollix"
alive "$bare_pid" bare_window "$work/bare"
alive "$tick_pid" "bare_window --tick" "$work/tick"
tollix_start="$(cpu_ns "$tollix_pid")"
bare_start="$(cpu_ns "$bare_pid")"
tick_start="$(cpu_ns "$tick_pid")"
echo "measuring for $seconds seconds (idle time counted from ${settle} seconds after start)..." >&2
sleep "$seconds"
alive "$tollix_pid" tollix "$work/tollix"
alive "$bare_pid" bare_window "$work/bare"
alive "$tick_pid" "bare_window --tick" "$work/tick"
tollix_end="$(cpu_ns "$tollix_pid")"
bare_end="$(cpu_ns "$bare_pid")"
tick_end="$(cpu_ns "$tick_pid")"
tollix_hwm="$(status_kb "$tollix_pid" VmHWM)"
bare_hwm="$(status_kb "$bare_pid" VmHWM)"
tollix_rss="$(status_kb "$tollix_pid" VmRSS)"
bare_rss="$(status_kb "$bare_pid" VmRSS)"
tick_hwm="$(status_kb "$tick_pid" VmHWM)"
tick_rss="$(status_kb "$tick_pid" VmRSS)"

awk -v secs="$seconds" -v settle="$settle" \
    -v ts="$tollix_start" -v te="$tollix_end" -v bs="$bare_start" -v be="$bare_end" \
    -v th="$tollix_hwm" -v bh="$bare_hwm" -v tr="$tollix_rss" -v br="$bare_rss" \
    -v ks="$tick_start" -v ke="$tick_end" -v kh="$tick_hwm" -v kr="$tick_rss" '
function pct(ns) { return 100 * ns / 1e9 / secs }
BEGIN {
    printf "idle for %d seconds (the first %d seconds of start-up not counted)\n", secs, settle
    printf "%-12s %14s %14s %14s %12s %12s\n", "program", "start CPU s", "idle CPU s", "idle % core", "peak KB", "now KB"
    printf "%-12s %14.3f %14.4f %14.4f %12d %12d\n", "tollix", ts / 1e9, (te - ts) / 1e9, pct(te - ts), th, tr
    printf "%-12s %14.3f %14.4f %14.4f %12d %12d\n", "bare_window", bs / 1e9, (be - bs) / 1e9, pct(be - bs), bh, br
    printf "%-12s %14.3f %14.4f %14.4f %12d %12d\n", "bare --tick", ks / 1e9, (ke - ks) / 1e9, pct(ke - ks), kh, kr
    ratio = bh > 0 ? th / bh : 0
    printf "peak memory tollix / bare_window: %.2f (target at most 1.15)\n", ratio
    printf "tollix idle CPU: %.4f%% of a core (target at most 0.03%%)\n", pct(te - ts)
    exit !(pct(te - ts) <= 0.03 && ratio <= 1.15)
}'
