#!/usr/bin/env bash
# Sets everything up and runs all tests: the default build's, then the sanitizer builds':
# AddressSanitizer with UndefinedBehaviorSanitizer over everything, and ThreadSanitizer over
# the tests that start threads (its preset builds only those). Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in default asan tsan; do
    echo "== $(date +%T) $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $(date +%T) $preset: tests"
    ctest --preset "$preset"
done
