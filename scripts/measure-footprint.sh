#!/usr/bin/env bash
# How much the idle meter costs: runs the built program on a line that stays
# down for N seconds (default 600) and reports the CPU time it used, as a share
# of one core, and its peak memory, beside a bare Qt Widgets window program run
# the same way for the same time. Both run at once, each in its own temporary
# world, so the machine's load is the same for both.
#
#   scripts/measure-footprint.sh [seconds]
#
# TOLLIX_BUILD_DIR picks the build folder (default: build). Targets: under
# 0.1 % of one core; memory at most 1.3 times the bare program's.
set -euo pipefail

seconds="${1:-600}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds < 10)); then
    echo "用法：$0 [秒数，至少 10，默认 600]" >&2
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
        echo "找不到 $program：请先构建 tollix 和 bare_window。" >&2
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

launch() {
    local dir="$1" program="$2"
    env QT_QPA_PLATFORM=offscreen TOLLIX_HOME="$dir/home" TOLLIX_PPP_ROOT="$dir/root" \
        XDG_RUNTIME_DIR="$dir/runtime" QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false" \
        "$program" >"$dir/stdout" 2>"$dir/stderr" &
    pids+=("$!")
}

ticks_per_second="$(getconf CLK_TCK)"

# utime + stime in clock ticks; the command name may hold blanks and brackets.
cpu_ticks() {
    local stat
    stat="$(cat "/proc/$1/stat")" || return 1
    stat="${stat##*) }"
    awk '{ print $12 + $13 }' <<<"$stat"
}

status_kb() {
    awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"
}

world "$work/tollix"
world "$work/bare"
launch "$work/tollix" "$tollix"
launch "$work/bare" "$bare"
tollix_pid="${pids[0]}"
bare_pid="${pids[1]}"

alive() {
    if ! kill -0 "$1" 2>/dev/null; then
        echo "$2 提前结束了：" >&2
        cat "$3/stderr" >&2
        exit 1
    fi
}

sleep "$settle"
alive "$tollix_pid" tollix "$work/tollix"
alive "$bare_pid" bare_window "$work/bare"
tollix_start="$(cpu_ticks "$tollix_pid")"
bare_start="$(cpu_ticks "$bare_pid")"
echo "测量 $seconds 秒（启动后 ${settle} 秒开始计空闲时间）……" >&2
sleep "$seconds"
alive "$tollix_pid" tollix "$work/tollix"
alive "$bare_pid" bare_window "$work/bare"
tollix_end="$(cpu_ticks "$tollix_pid")"
bare_end="$(cpu_ticks "$bare_pid")"
tollix_hwm="$(status_kb "$tollix_pid" VmHWM)"
bare_hwm="$(status_kb "$bare_pid" VmHWM)"
tollix_rss="$(status_kb "$tollix_pid" VmRSS)"
bare_rss="$(status_kb "$bare_pid" VmRSS)"

awk -v hz="$ticks_per_second" -v secs="$seconds" -v settle="$settle" \
    -v ts="$tollix_start" -v te="$tollix_end" -v bs="$bare_start" -v be="$bare_end" \
    -v th="$tollix_hwm" -v bh="$bare_hwm" -v tr="$tollix_rss" -v br="$bare_rss" '
function pct(ticks) { return 100 * ticks / hz / secs }
BEGIN {
    printf "空闲 %d 秒（另有 %d 秒启动不计入）\n", secs, settle
    printf "%-12s %14s %14s %14s %12s %12s\n", "程序", "启动CPU(秒)", "空闲CPU(秒)", "空闲CPU(%核)", "峰值内存KB", "当前内存KB"
    printf "%-12s %14.2f %14.2f %14.4f %12d %12d\n", "tollix", ts / hz, (te - ts) / hz, pct(te - ts), th, tr
    printf "%-12s %14.2f %14.2f %14.4f %12d %12d\n", "bare_window", bs / hz, (be - bs) / hz, pct(be - bs), bh, br
    ratio = bh > 0 ? th / bh : 0
    printf "峰值内存之比 tollix / bare_window：%.2f（目标不超过 1.30）\n", ratio
    printf "tollix 空闲CPU：%.4f%% 核（目标低于 0.1%%）\n", pct(te - ts)
    exit !(pct(te - ts) < 0.1 && ratio <= 1.3)
}'
