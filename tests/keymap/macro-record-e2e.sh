#!/usr/bin/env bash
# End to end on a virtual X display: in quillo-sim, click key W, record a macro on the Macro
# page by typing with xdotool (a real X11 keyboard grab), stop, OK, "Write key settings", and
# check the macro record the window sent for key W in quillo-sim's report trace; then save the
# profile and check that quillo-cli sends the same record from it.
#   macro-record-e2e.sh QUILLO_SIM QUILLO_CLI SCREEN_PIXEL ARTEFACT_DIR
set -euo pipefail

sim=$1
cli=$2
pixel=$3
artefacts=$4

. "$(dirname "$0")/../support/x-display-e2e.sh" macro-record-e2e "$0" "$@"

work=$(mktemp -d)
profile="$work/recorded.pro"
trace="$work/trace.txt"
mkdir -p "$artefacts"

"$sim" --variant 4 --trace "$trace" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillo\(RGB\)$' | head -n1) \
    || fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
wx=$X
wy=$Y
[ "$WIDTH" -eq 1240 ] || fail "the main window is $WIDTH pixels wide, not 1240 at scale 1"

click() { # x y (relative to the window), then time for the dialog's held click
    xdotool mousemove "$(($1 + wx))" "$(($2 + wy))" click 1
    sleep "${3:-0.5}"
}
shot() { "$pixel" "$artefacts/e2e-macro-$1.png" 0,0 >/dev/null; }

click 902 110           # language: English, so that the dialog's title is known
click 262 296 0.2       # key W
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Key Settings$' | head -n1) \
    || fail "the key settings dialog did not open"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
wx=$X
wy=$Y
log "key settings dialog $dialog at $wx,$wy"
click 134 64            # the Macro tab
click 75 273            # New: "New Macro 1", in the field over its row
click 462 231           # the click takes the name over, and does nothing else
click 462 231           # Record
shot recording-started

# Typed on the virtual display's keyboard, through the server: the dialog's active grab gets
# them. A held for a second repeats; it must stay one press.
xdotool keydown a
sleep 1
xdotool keyup a
sleep 0.2
xdotool key KP_Enter
sleep 0.2
# Alt+Tab switches no window while the dialog holds the keyboard.
xdotool keydown Alt_L
sleep 0.1
xdotool key Tab
sleep 0.1
xdotool keyup Alt_L
sleep 0.3
shot recorded
click 462 231           # Stop Rec
# The step rows' menu opens under the right button; Esc closes it and nothing else.
xdotool mousemove "$((280 + wx))" "$((121 + wy))" click 3
sleep 0.5
shot step-menu
xdotool key Escape
sleep 0.3
xdotool search --onlyvisible --name '^Key Settings$' >/dev/null 2>&1 \
    || fail "Esc at the step menu closed the dialog"
click 407 336           # OK
if xdotool search --onlyvisible --name '^Key Settings$' >/dev/null 2>&1; then
    fail "the dialog is still open after OK"
fi

# Write key settings, then its "OK!!" in a window of its own over the main window.
wx=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^X=//p')
wy=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^Y=//p')
click 380 110 0.2
box=""
for _ in $(seq 150); do
    box=$(xdotool search --onlyvisible --name '^Quillo\(RGB\)$' 2>/dev/null | grep -vx "$window" | head -n1 || true)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no message after Write key settings"
shot written
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
sleep 0.5

# Save, as the user would: the file dialog takes the path typed.
click 62 110 1
xdotool type --delay 10 "$profile"
sleep 0.2
xdotool key Return
for _ in $(seq 100); do
    [ -s "$profile" ] && break
    sleep 0.1
done
[ -s "$profile" ] || fail "the profile was not saved"
sleep 0.3

"$cli" show "$profile" --variant 4 | grep -P '^30\t0\t' | sed 's/^/macro-record-e2e: /'
window_record=$(grep -m1 '^> 00 00 f0 01 1e ' "$trace") || fail "the window sent no record for key W"
cli_trace="$work/cli-trace.txt"
"$cli" --sim 4 --trace "$cli_trace" write "$profile" >/dev/null || fail "quillo-cli write failed"
cli_record=$(grep -m1 '^> 00 00 f0 01 1e ' "$cli_trace") || fail "quillo-cli sent no record for key W"
[ "$window_record" = "$cli_record" ] || fail "the window and quillo-cli sent different records for W"

# Key W is key 30 (0x1e) on layer 1: "00 f0 01 1e", the type, times, delays kept, interval,
# data length, then per step its code, 0xc8 and the delay after it (high, low byte).
record=$window_record
log "record of W: $record"
read -r -a b <<<"$record"
hex() { echo $((16#$1)); }
[ "$(hex "${b[8]}")" -eq 1 ] || fail "the macro keeps no delays"
length=$(($(hex "${b[11]}") * 256 + $(hex "${b[12]}")))
# A down and up, keypad Enter down and up, Alt down, Tab down and up, Alt up.
want=(43 43 107 107 69 28 28 69)
[ "$length" -eq $((4 * ${#want[@]})) ] || fail "the macro has $length data bytes, not $((4 * ${#want[@]}))"
delays=()
for i in "${!want[@]}"; do
    at=$((13 + 4 * i))
    code=$(hex "${b[$at]}")
    [ "$code" -eq "${want[$i]}" ] || fail "step $i has code $code, not ${want[$i]}"
    [ "${b[$((at + 1))]}" = "c8" ] || fail "step $i has no delay marker"
    delays+=($(($(hex "${b[$((at + 2))]}") * 256 + $(hex "${b[$((at + 3))]}"))))
done
log "codes ${want[*]}, delays ${delays[*]} ms"
# A was held for a second; the last delay is the closing 50 ms.
[ "${delays[0]}" -ge 900 ] && [ "${delays[0]}" -le 3000 ] \
    || fail "A was held ${delays[0]} ms, not about a second"
[ "${delays[7]}" -eq 50 ] || fail "the last delay is ${delays[7]} ms, not 50"
log "passed"
