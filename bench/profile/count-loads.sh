#!/usr/bin/env bash
# Instructions one profile load takes, ours against pugixml's, counted by callgrind inside the
# load calls only: unlike wall time on a shared machine the counts repeat exactly.
#   bench/profile/count-loads.sh [BUILD_DIR]      (default build/default; needs valgrind)
set -euo pipefail
cd "$(dirname "$0")/../.."
program="${1:-build/default}/bin/profile_load_count"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
count() { # configuration reader loads
    local function='readProfile(*'
    [ "$2" = pugixml ] && function='pugiReadProfile(*'
    local total
    total=$(valgrind --tool=callgrind --toggle-collect="$function" \
        --callgrind-out-file="$scratch/out" "$program" "$1" "$2" "$3" 2>&1 |
        awk '/Collected/ {print $4}')
    echo $((total / $3))
}
for configuration in reset maximal; do
    loads=20
    [ "$configuration" = maximal ] && loads=1
    ours=$(count "$configuration" ours "$loads")
    theirs=$(count "$configuration" pugixml "$loads")
    awk -v c="$configuration" -v o="$ours" -v t="$theirs" \
        'BEGIN { printf "%-8s ours %13d  pugixml %13d  ratio %.2f\n", c, o, t, o / t }'
done
