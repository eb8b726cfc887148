#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs each one on a
# copy of its seed corpus (fuzz/corpus/<target>) for a bounded time, so a run
# never changes the repository. Prints one line per target and exits non-zero
# on a finding or a build failure; inputs that failed are kept under
# build-fuzz/findings/<target>/.
#   FUZZ_SECONDS   seconds per target (default 8)
#   FUZZ_TARGETS   space-separated subset of the targets to run
#   FUZZ_SEED      random seed (default 1, so the test command explores the same
#                  inputs each time; set 0 for a fresh seed per run)
set -uo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR="${FUZZ_BUILD_DIR:-build-fuzz}"
SECONDS_EACH="${FUZZ_SECONDS:-8}"
SEED="${FUZZ_SEED:-1}"
ALL_TARGETS="profile_read profile_write log_line usage_record pppd session_journal nm_replies"
TARGETS="${FUZZ_TARGETS:-$ALL_TARGETS}"
SANITIZE="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  if ! cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ "-DCMAKE_CXX_FLAGS=$SANITIZE" \
      -DTOLLIX_FUZZ=ON -DTOLLIX_BUILD_TESTS=OFF -DTOLLIX_BUILD_BENCHMARKS=OFF >"$BUILD_DIR.configure.log" 2>&1; then
    cat "$BUILD_DIR.configure.log" >&2
    echo "fuzz: configuring $BUILD_DIR failed" >&2
    exit 1
  fi
  rm -f "$BUILD_DIR.configure.log"
fi
if ! cmake --build "$BUILD_DIR" -j2 --target tollix_fuzzers; then
  echo "fuzz: building the fuzz targets failed" >&2
  exit 1
fi

# Scratch files of the targets go to memory when possible: the settings and
# log writers flush every write to disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  work="$(mktemp -d /dev/shm/tollix-fuzz.XXXXXX)"
else
  work="$(mktemp -d "${TMPDIR:-/tmp}/tollix-fuzz.XXXXXX")"
fi
trap 'rm -rf "$work"' EXIT

status=0
for target in $TARGETS; do
  binary="$BUILD_DIR/fuzz/${target}_fuzzer"
  if [ ! -x "$binary" ] || [ ! -d "fuzz/corpus/$target" ]; then
    echo "fuzz: $target: no such target" >&2
    status=1
    continue
  fi
  corpus="$work/$target/corpus"
  artifacts="$work/$target/artifacts"
  mkdir -p "$corpus" "$artifacts" "$work/$target/tmp"
  cp -r "fuzz/corpus/$target/." "$corpus/"
  log="$work/$target/log"
  TMPDIR="$work/$target/tmp" UBSAN_OPTIONS=print_stacktrace=1 \
    "$binary" -max_total_time="$SECONDS_EACH" -seed="$SEED" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1
  rc=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1)"
  if [ "$rc" -eq 0 ] && [ -z "$(ls -A "$artifacts")" ]; then
    printf 'fuzz: %-16s ok      %8s runs in %ss, %s, corpus %s inputs\n' \
      "$target" "${runs:-?}" "$SECONDS_EACH" "${cov:-cov: ?}" "$(ls "$corpus" | wc -l)"
  else
    status=1
    kept="$BUILD_DIR/findings/$target"
    mkdir -p "$kept"
    cp "$artifacts"/* "$kept/" 2>/dev/null
    cp "$log" "$kept/log.txt"
    printf 'fuzz: %-16s FINDING (exit %s); inputs and log in %s\n' "$target" "$rc" "$kept"
    { grep -E -A2 'check failed|runtime error|ERROR: AddressSanitizer|ERROR: LeakSanitizer' "$log" \
        | grep -v -E 'libFuzzer: deadly signal|^--$'
      grep -E '#[0-9]+ 0x.* in .*/(src|fuzz)/[A-Za-z]+\.(cpp|h):[0-9]+' "$log" | head -6; } | head -20 | sed 's/^/    /'
  fi
done
exit $status
