#!/usr/bin/env bash
# clang-tidy (bugprone-*, performance-*: see .clang-tidy) over the engine's files.
# Needs a configured build folder for its compile commands (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
[ -f "$build/compile_commands.json" ] || { echo "No $build/compile_commands.json: configure the build first." >&2; exit 2; }
mapfile -t files < <(git ls-files 'src/*.cpp' | grep -v '^src/gui/' | grep -v '^src/main.cpp$')
printf '%s\n' "${files[@]}" | xargs -P 2 -n 4 clang-tidy -p "$build" --quiet 2>/dev/null
echo "clang-tidy: ${#files[@]} engine files clean."
