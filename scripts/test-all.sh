#!/usr/bin/env bash
# Sets everything up and runs all tests: the default build's, the real USB and HID stack's
# (tests/kernel/run.sh, a virtual machine), then the sanitizer builds': AddressSanitizer with
# UndefinedBehaviorSanitizer over everything, and ThreadSanitizer over the tests that start
# threads (its preset builds only those). Warnings are errors here.
# --without-kernel leaves the virtual machine out (CI runs it beside other work).
set -euo pipefail
cd "$(dirname "$0")/.."
kernel=yes
[ "${1:-}" = --without-kernel ] && kernel=no

scripts/install-deps.sh
for preset in default asan tsan; do
    echo "== $(date +%T) $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $(date +%T) $preset: tests"
    ctest --preset "$preset"
    if [ "$preset" = default ] && [ "$kernel" = yes ]; then
        echo "== $(date +%T) the real USB and HID stack, in a virtual machine"
        tests/kernel/run.sh build/default || [ $? = 77 ]
    fi
done
