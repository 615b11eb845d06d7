#!/usr/bin/env bash
# End to end on a virtual X display, typing at once after clicks, as a fast user does: in
# quillo-sim, Record then Enter in the same breath (Enter is the key captured, the dialog stays
# open) and Esc held for a second (the capture stops, Esc is no key and cancels nothing); a key
# the keyboard lacks during a capture (its message closes with Enter, the capture goes on);
# the Macro tab and New with its name typed at once, and a macro recorded into it. The saved
# profile must say what was done.
#   held-click-e2e.sh QUILLO_SIM QUILLO_CLI SCREEN_PIXEL ARTEFACT_DIR
set -euo pipefail

sim=$1
cli=$2
pixel=$3
artefacts=$4

. "$(dirname "$0")/../support/x-display-e2e.sh" held-click-e2e "$0" "$@"

shot() { "$pixel" "$artefacts/e2e-held-click-$1.png" >/dev/null 2>&1 || true; }
fail() {
    echo "held-click-e2e: $*" >&2
    shot failed
    exit 1
}

work=$(mktemp -d)
profile="$work/typed.pro"
mkdir -p "$artefacts"

"$sim" --variant 4 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillo\(RGB\)$' | head -n1) \
    || fail "the main window did not appear"
wx=0 wy=0
at() { # WINDOW: later points are relative to it
    eval "$(xdotool getwindowgeometry --shell "$1")"
    wx=$X wy=$Y
}
point() { echo "$(($1 + wx)) $(($2 + wy))"; }
# Waits until COMMAND succeeds, at most SECONDS.
until_true() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 20))); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
dialogs() { xdotool search --onlyvisible --name '^Key Settings$' 2>/dev/null | wc -l; }
dialogs_are() { [ "$(dialogs)" -eq "$1" ]; }
# The key settings dialog of a key of the main window.
open_key() { # X Y
    at "$main"
    xdotool mousemove $(point "$1" "$2") click 1
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Key Settings$' | head -n1) \
        || fail "the key settings dialog did not open"
    at "$dialog"
}
# A click whose page change or entry the next one needs: the dialog holds clicks 200 ms.
settle() { sleep 0.3; }

at "$main"
xdotool mousemove $(point 902 110) click 1 # English, for the dialog's title
settle

# Key W: Record and Enter at once; then Esc held for a second and a half stops the capture,
# Esc is no key, and its repeats cancel nothing.
open_key 262 296
xdotool mousemove $(point 104 221) click 1 key Return
xdotool keydown Escape
sleep 1.5
xdotool keyup Escape
shot esc-stopped
dialogs_are 1 || fail "the dialog closed: Enter confirmed it, or Esc cancelled it"
xdotool mousemove $(point 407 336) click 1 # OK
until_true 10 dialogs_are 0 || fail "the dialog is still open after OK"

# Key R: Sleep, which the keyboard lacks, during a capture: its message takes the keyboard and
# Enter closes it; the capture goes on and takes B.
open_key 354 296
xdotool mousemove $(point 104 221) click 1
xdotool key XF86Sleep
until_true 10 dialogs_are 2 || fail "no message for a key the keyboard lacks"
shot unknown-key
xdotool key Return
until_true 10 dialogs_are 1 || fail "Enter did not close the message"
xdotool key b
xdotool mousemove $(point 407 336) click 1 # OK
until_true 10 dialogs_are 0 || fail "the dialog is still open after OK"

# Key E: the Macro tab, New with its name typed at once, then a macro recorded into it.
open_key 308 296
xdotool mousemove $(point 134 64) click 1 mousemove $(point 75 273) click 1 \
    type --delay 15 "sec2"
xdotool key Return
settle
xdotool mousemove $(point 462 231) click 1 # Record
settle
xdotool key a
xdotool mousemove $(point 462 231) click 1 # Stop Rec
settle
shot named
xdotool mousemove $(point 407 336) click 1 # OK
until_true 10 dialogs_are 0 || fail "the dialog is still open after OK"

# Save, as the user would: the file dialog takes the path typed.
at "$main"
xdotool mousemove $(point 62 110) click 1
other_window() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$main" | head -n1; }
save_dialog_up() { [ -n "$(other_window)" ]; }
until_true 20 save_dialog_up || fail "the save dialog did not open"
xdotool windowfocus --sync "$(other_window)" 2>/dev/null || true
xdotool type --delay 10 "$profile"
xdotool key Return
until_true 10 test -s "$profile" || fail "the profile was not saved"

shown=$("$cli" show "$profile")
w=$(grep -P '^30\t0\t' <<<"$shown")
e=$(grep -P '^31\t0\t' <<<"$shown")
r=$(grep -P '^32\t0\t' <<<"$shown")
log "W: $w"
log "E: $e"
log "R: $r"
[ "$(cut -f3,4 <<<"$w")" = "$(printf 'Single\tENTER')" ] || fail "W is not the Enter key captured"
[ "$(cut -f3,4 <<<"$r")" = "$(printf 'Single\tB')" ] || fail "R is not the B captured after the message"
[ "$(cut -f3 <<<"$e")" = "Macro" ] || fail "E plays no macro"
grep -q 't1="sec2"' "$profile" || fail "the new macro is not named as typed"
log "passed"
