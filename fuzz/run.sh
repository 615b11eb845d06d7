#!/usr/bin/env bash
# Builds the fuzz targets and runs each for the given number of seconds (default 60) on its
# corpus in fuzz/corpus/<target>/. New inputs go to a scratch folder, not into the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers
shopt -s nullglob
targets=(build/fuzz/bin/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz: no fuzz targets yet"
    exit 0
fi
for target in "${targets[@]}"; do
    name=$(basename "$target")
    scratch=build/fuzz/corpus/$name
    mkdir -p "$scratch" "fuzz/corpus/$name"
    echo "fuzz: $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
        "$scratch" "fuzz/corpus/$name"
done
