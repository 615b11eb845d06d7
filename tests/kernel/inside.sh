# The checks that run inside the machine, as root, against gadget keyboards that the same
# kernel's USB host side enumerates. What each command sends and reads is compared with what the
# same command gives against the emulator (prepared outside, in DATA): the real stack must add
# nothing and lose nothing.
# usage: inside.sh BIN DATA RESULTS
set -uo pipefail
bin=$1 data=$2 results=$3
here=$(dirname "${BASH_SOURCE[0]}")
. "$here/gadget.sh"

failures=0
pass() { echo "ok - $* [${SECONDS}s]"; }
fail() { echo "FAILED - $* [${SECONDS}s]"; failures=$((failures + 1)); }
# check DESCRIPTION COMMAND...
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
# same_trace WHAT EXPECTED ACTUAL...: every ACTUAL trace is byte for byte EXPECTED.
same_trace() {
    local what=$1 expected=$2 actual ok=0
    shift 2
    for actual; do
        if ! cmp -s "$expected" "$actual"; then
            ok=1
            echo "  $actual differs from $expected:"
            diff "$expected" "$actual" | head -n 6 | cut -c1-100 | sed 's/^/    /'
        fi
    done
    [ $ok = 0 ] && pass "$what: the same reports as against the emulator" \
        || fail "$what: the same reports as against the emulator"
}

cli() { "$bin/quillo-cli" "$@"; }
products=(5030 5130 5230 5330)
gadget_pid=
# start_gadget NAME VARIANT TRACE [OPTIONS...]: the emulator answering on NAME's vendor function.
start_gadget() {
    local name=$1 variant=$2 trace=$3
    shift 3
    rm -f "$trace"
    # f_hid keeps a single report sent by SET_REPORT, and the host does not wait for it to be
    # read: the gadget must read each before the next arrives, so it runs before its host.
    chrt --fifo 50 "$bin/quillo-gadget" "$(function_node "$name" vendor)" --variant "$variant" \
        --trace "$trace" "$@" 2> "$results/gadget-$name.log" &
    gadget_pid=$!
}
stop_gadget() {
    kill -TERM "$gadget_pid" 2>/dev/null
    wait "$gadget_pid"
    local status=$?
    [ "$status" = 0 ] || fail "quillo-gadget ended with status $status on SIGTERM"
    gadget_pid=
}
detects() { cli detect > detect.out 2>&1; grep -q "^$1 " detect.out; }
lines() { if [ -f "$1" ]; then wc -l < "$1"; else echo 0; fi; }

cd "$results"

# Every product is found and answers its version.
for variant in 1 2 3 4; do
    name=k$variant
    make_keyboard "$name" "${products[variant - 1]}" normal
    plug "$name" dummy_udc.0 || { fail "variant $variant enumerated"; continue; }
    start_gadget "$name" "$variant" "gadget-version-$variant.trace"
    check "variant $variant: detect names it" detects "$variant"
    rm -f "version-$variant.trace"
    check "variant $variant: version" cli --trace "version-$variant.trace" version
    stop_gadget
    same_trace "variant $variant: version" "$data/version-$variant.trace" \
        "version-$variant.trace" "gadget-version-$variant.trace"
    [ "$variant" = 4 ] || remove_keyboard "$name"
done

# The largest profile written and read back on variant 4, which stays plugged in from here.
start_gadget k4 4 gadget-profile.trace
check "maximal profile written" cli --trace write.trace write "$data/maximal-4.pro"
check "maximal profile read back" cli --trace read.trace read -o back.pro
stop_gadget
cat write.trace read.trace > cli-profile.trace
same_trace "maximal profile and lights, write then read" "$data/write-read-maximal.trace" \
    cli-profile.trace gadget-profile.trace
check "the keyboard holds every key and light as written" \
    cli diff --keyboard "$data/maximal-4.pro" back.pro

# Counters and a firmware download (with the settings saved first), on a fresh keyboard.
start_gadget k4 4 gadget-firmware.trace
check "counters" sh -c "'$bin/quillo-cli' --trace firmware.trace counters > counters.out"
download() {
    XDG_DATA_HOME=$results/xdg cli --trace firmware.trace firmware "$data/Quillo(RGB)_9.9.hex" \
        > firmware.out
}
check "firmware download" download
stop_gadget
same_trace "counters, then the firmware download" "$data/firmware.trace" \
    firmware.trace gadget-firmware.trace

# Without an OUT endpoint the host sends every report by SET_REPORT on the control pipe.
remove_keyboard k4
make_keyboard k4s 5330 set-report
if plug k4s dummy_udc.0; then
    start_gadget k4s 4 gadget-set-report.trace
    check "maximal profile written by SET_REPORT" \
        cli --trace set-report.trace write "$data/maximal-4.pro"
    stop_gadget
    same_trace "SET_REPORT write" "$data/write-maximal.trace" set-report.trace gadget-set-report.trace
else
    fail "the keyboard without an OUT endpoint enumerated"
fi
remove_keyboard k4s

# A decoy of the same vendor and product with its interfaces swapped: the boot keyboard is
# interface 1. Alone it is not a keyboard of ours; beside one, it is never written to.
make_keyboard decoy 5330 decoy
plug decoy dummy_udc.1 || fail "the decoy enumerated"
check "the decoy alone is not taken for a keyboard" \
    sh -c "! '$bin/quillo-cli' detect > decoy-detect.out 2>&1"
make_keyboard k4 5330 normal
plug k4 dummy_udc.0 || fail "variant 4 plugged in again"
start_gadget k4 4 gadget-fresh.trace
check "a fresh profile written beside the decoy" cli --trace fresh.trace write "$data/fresh-4.pro"
stop_gadget
same_trace "fresh profile beside the decoy" "$data/write-fresh.trace" fresh.trace gadget-fresh.trace
check "nothing reached either interface of the decoy" python3 "$here/unread.py" \
    "$(function_node decoy keyboard)" "$(function_node decoy vendor)"
remove_keyboard decoy

# Unplugged in the middle of a sync: the gadget unbound from the controller, the cable cut.
start_gadget k4 4 gadget-unplug.trace
cli sync "$data/maximal-4.pro" -o synced.pro > unplug.out 2> unplug.err &
cli_pid=$!
under_way() { [ "$(lines gadget-unplug.trace)" -ge 400 ]; }
wait_for "the write to be under way" 60 under_way
echo "" > "$gadgets/k4/UDC"
unplugged=$(date +%s%N)
wait "$cli_pid"
status=$?
took=$((($(date +%s%N) - unplugged) / 1000000))
echo "  quillo-cli ended ${took} ms after the unplugging, status $status: $(cat unplug.err)"
check "unplugged mid-write: quillo-cli fails with status 3" [ "$status" = 3 ]
check "unplugged mid-write: it ends within the read timeout (5 s)" [ "$took" -le 6000 ]
check "unplugged mid-write: it says the keyboard was unplugged" \
    grep -q "the keyboard was unplugged" unplug.err
check "unplugged mid-write: no profile and no temporary file left" \
    sh -c "[ -z \"\$(ls -A | grep -i synced)\" ]"
plug k4 dummy_udc.0 || fail "plugged in again"
check "plugged in again: detect finds it" detects 4
check "plugged in again: the same quillo-gadget answers" cli version
stop_gadget

# The program itself finds the keyboard: its start-up reads the version.
start_gadget k4 4 gadget-program.trace
QT_QPA_PLATFORM=offscreen "$bin/quillo" > program.log 2>&1 &
program_pid=$!
check "quillo reads the keyboard's version at start-up" \
    wait_for "quillo's version read" 120 grep -qs "^< 00 f9" gadget-program.trace
kill -TERM "$program_pid"
wait "$program_pid" 2>/dev/null
stop_gadget

# The udev rule, applied by udevadm to the real devices: only the settings interface of our
# keyboards is opened to the user at the computer.
mkdir -p /run/udev/rules.d
cp "$here/../../packaging/70-quillo.rules" /run/udev/rules.d/
make_keyboard decoy 5330 decoy
plug decoy dummy_udc.1 || fail "the decoy enumerated again"
tagged=
for node in /sys/class/hidraw/hidraw*; do
    if udevadm test --action=add "$node" 2>/dev/null | grep -q '^TAGS=.*:uaccess:'; then
        tagged="$tagged /dev/${node##*/}"
    fi
done
check "udev tags the settings interface's node alone (tagged:$tagged)" \
    [ "$tagged" = " $(host_nodes k4 1)" ]
check "without access, quillo-cli names the node and the fix" \
    sh -c "setpriv --reuid=65534 --regid=65534 --clear-groups '$bin/quillo-cli' version \
           > noaccess.out 2>&1; grep -q '$(host_nodes k4 1)' noaccess.out \
           && grep -q 70-quillo.rules noaccess.out"

echo "inside: $failures failed"
[ "$failures" = 0 ]
