#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: the normal build, then the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, then bounded
# fuzz runs. Ends with ctest's summary of the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

status=0
if [ "${TOLLIX_SKIP_SANITIZERS:-0}" != 1 ]; then
  echo "== Sanitizer build (build-asan) =="
  BUILD_DIR=build-asan scripts/setup.sh -DTOLLIX_SANITIZE=ON -DTOLLIX_BUILD_BENCHMARKS=OFF
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --no-tests=error --output-on-failure -j2 || status=1
fi
if [ "${TOLLIX_SKIP_FUZZ:-0}" != 1 ] && [ -x scripts/fuzz.sh ]; then
  echo "== Bounded fuzz runs =="
  scripts/fuzz.sh || status=1
fi

echo "== Test suite (build) =="
ctest --test-dir build --no-tests=error --output-on-failure -j2 || status=1
exit $status
