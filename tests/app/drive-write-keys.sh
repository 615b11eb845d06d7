#!/usr/bin/env bash
# Drives quillo-sim on the virtual display it is given, as a person would: waits for the main
# window, clicks a point given in the face's base pixels, waits until the report trace holds
# the report that ends the key write and for the message that follows, then ends the program.
#   drive-write-keys.sh QUILLO_SIM TRACE BASE_X BASE_Y BASE_WIDTH
set -euo pipefail
sim=$1 trace=$2 base_x=$3 base_y=$4 base_width=$5
end_report="> 00 00$(printf ' f6%.0s' $(seq 63))"
title='^Quillo\(RGB\)'

stamp() { echo "drive-write-keys: $(date +%T.%N | cut -c1-12) $*"; }

QT_QPA_PLATFORM=xcb "$sim" --variant 4 --trace "$trace" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "drive-write-keys: the main window never appeared" >&2; exit 1; }
stamp "main window $window"
sleep 0.5 # its first paint
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$((X + base_x * WIDTH / base_width))
y=$((Y + base_y * WIDTH / base_width))
stamp "window at $X,$Y size ${WIDTH}x$HEIGHT, clicking $x,$y"
xdotool mousemove --sync "$x" "$y"
sleep 0.2
xdotool click 1

for _ in $(seq 300); do
    grep -qxF "$end_report" "$trace" && break
    sleep 0.1
done
grep -qxF "$end_report" "$trace" || { echo "drive-write-keys: the key write never ended" >&2; exit 1; }
stamp "end report sent"
# "OK!!" follows once the keyboard has had its second for storing, in a window of its own.
for _ in $(seq 100); do
    if [ "$(xdotool search --onlyvisible --name "$title" 2>/dev/null | wc -l)" -ge 2 ]; then
        stamp "message shown"
        exit 0
    fi
    sleep 0.1
done
echo "drive-write-keys: no message after the write" >&2
exit 1
