#!/usr/bin/env bash
# Sets everything up and runs all tests: the default build's, then the sanitizer build's.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in default asan; do
    echo "== $(date +%T) $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $(date +%T) $preset: tests"
    ctest --preset "$preset"
done
