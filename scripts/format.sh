#!/usr/bin/env bash
# Formats our C++ sources in place, or with --check only reports what is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' | grep -v '^build/')
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
else
    clang-format -i "${files[@]}"
fi
