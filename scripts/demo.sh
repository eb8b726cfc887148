#!/usr/bin/env bash
# Sets everything up and starts Tollix on its built-in demo line.
# The demo keeps its own data folder, so real statistics are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/tollix --demo "$@"
