#!/usr/bin/env bash
# Sets everything up and runs the test suite on the normal build: formatting and the
# folder floors, then every engine, window and end-to-end test. Ends with ctest's summary.
# The slower checks (sanitizers with the leak check, fuzzing, clang-tidy) are in .ci/run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh -DTOLLIX_WERROR=ON

status=0
scripts/check-format.sh || status=1

echo "== Test suite (build) =="
ctest --test-dir build --no-tests=error --output-on-failure -j2 || status=1
exit $status
