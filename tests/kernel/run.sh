#!/usr/bin/env bash
# Quillo against the real Linux USB and HID stack: boots Debian's kernel in a virtual machine
# whose dummy_hcd plugs in gadget keyboards answered by quillo-gadget, and runs quillo-cli and
# quillo there. Exit 77 (skipped) only where qemu or the kernel package cannot be had.
# usage: tests/kernel/run.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build/default}")
bin=$build/bin
work=$build/kernel-test
data=$work/data
results=$work/results

for program in quillo-cli quillo-gadget quillo; do
    [ -x "$bin/$program" ] || { echo "kernel-test: $bin/$program is not built"; exit 1; }
done
rm -rf "$data" "$results"
mkdir -p "$data" "$results"

# What the emulator is sent and answers for each command: the reference for the real stack.
cli() { "$bin/quillo-cli" "$@"; }
for variant in 1 2 3 4; do
    cli --sim "$variant" --trace "$data/version-$variant.trace" version >/dev/null
done
cli defaults --variant 4 -o "$data/fresh-4.pro"
python3 "$here/maximal-profile.py" "$data/fresh-4.pro" "$data/maximal-4.pro"
cli --sim 4 --trace "$data/write-maximal.trace" write "$data/maximal-4.pro"
# Written, then read by a command of its own, which asks for the version first.
cli --sim 4 --trace "$data/sync-maximal.trace" sync "$data/maximal-4.pro" \
    -o "$data/sync-maximal.pro" > /dev/null
cli --sim 4 --trace "$data/read-fresh.trace" read -o "$data/read-fresh.pro"
{
    cat "$data/write-maximal.trace"
    sed '/^> 00 00 f2 /,$d' "$data/read-fresh.trace"
    tail -n +$(($(wc -l < "$data/write-maximal.trace") + 1)) "$data/sync-maximal.trace"
} > "$data/write-read-maximal.trace"
cli --sim 4 --trace "$data/write-fresh.trace" write "$data/fresh-4.pro"
# A small firmware image: any bytes, as Intel HEX.
head -c 1000 /dev/urandom > "$data/firmware.bin"
objcopy -I binary -O ihex "$data/firmware.bin" "$data/Quillo(RGB)_9.9.hex"
cli --sim 4 --trace "$data/firmware.trace" counters > /dev/null
XDG_DATA_HOME=$data/xdg cli --sim 4 --trace "$data/firmware.trace" firmware \
    "$data/Quillo(RGB)_9.9.hex" > /dev/null

start=$(date +%s)
set +e
"$here/boot.sh" "$work" "$here/inside.sh" "$bin" "$data" "$results"
status=$?
set -e
echo "kernel-test: $(($(date +%s) - start)) s in all; results in $results"
exit "$status"
