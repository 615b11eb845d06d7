#!/usr/bin/env bash
# End to end on a virtual X display: in quillo-sim, click a key of the main window, choose a
# multimedia code in the key settings dialog, OK, and check the key's indicator bar on screen.
#   key-command-e2e.sh QUILLO_SIM SCREEN_PIXEL ARTEFACT_DIR
set -euo pipefail

sim=$1
pixel=$2
artefacts=$3

. "$(dirname "$0")/../support/x-display-e2e.sh" key-command-e2e "$0" "$@"

"$sim" --variant 4 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillo\(RGB\)$' | head -n1) \
    || fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
wx=$X
wy=$Y
log "main window $window at $wx,$wy (${WIDTH}x$HEIGHT)"
[ "$WIDTH" -eq 1240 ] || fail "the main window is $WIDTH pixels wide, not 1240 at scale 1"

click() { # x y (relative to the window), then time for the dialog's held click
    xdotool mousemove "$(($1 + wx))" "$(($2 + wy))" click 1
    sleep "${3:-0.5}"
}

# Key W (key 30, 239..285 x 273..320) and the bar at its bottom centre.
bar_x=$((262 + wx))
bar_y=$((318 + wy))
before=$("$pixel" "$artefacts/e2e-key-command-before.png" "$bar_x,$bar_y")
[ "$before" != "#ff00ff" ] || fail "the key carries a multimedia bar already"

click 902 110           # language: English, so that the dialog's title is known
click 262 296 0.2       # key W
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Key Settings$' | head -n1) \
    || fail "the key settings dialog did not open"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
wx=$X
wy=$Y
log "key settings dialog $dialog at $wx,$wy (${WIDTH}x$HEIGHT)"
click 290 64            # the Multimedia tab
click 113 170           # Play/Pause
click 407 336           # OK
if xdotool search --onlyvisible --name '^Key Settings$' >/dev/null 2>&1; then
    fail "the dialog is still open after OK"
fi
sleep 0.3

after=$("$pixel" "$artefacts/e2e-key-command-after.png" "$bar_x,$bar_y")
log "indicator bar of W: $before before, $after after"
[ "$after" = "#ff00ff" ] || fail "the key's bar is $after, not the multimedia colour #ff00ff"
log "passed"
