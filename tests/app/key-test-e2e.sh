#!/usr/bin/env bash
# End to end on a virtual X display: in quillo-sim, switch the key test on with the mouse, type
# keys with xdotool (XTEST, as a keyboard would) and read the caps off the screen: tested keys
# green, a held key in the accent, keys not typed plain; Esc ends the test.
#   key-test-e2e.sh QUILLO_SIM SCREEN_PIXEL ARTEFACT_DIR
set -euo pipefail

sim=$1
pixel=$2
artefacts=$3

. "$(dirname "$0")/../support/x-display-e2e.sh" key-test-e2e "$0" "$@"

mkdir -p "$artefacts"
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

# Keys by name, the left and top of their caps in the window, and the keysym that types them:
# a letter, keypad Enter, right Shift, a keypad digit, right Ctrl and the Play/Pause media key.
keys=(
    "A 210 320 a"
    "KPEnter 1106 366 KP_Enter"
    "RShift 695 367 Shift_R"
    "KP1 968 366 KP_1"
    "RCtrl 755 414 Control_R"
    "PlayPause 968 168 XF86AudioPlay"
)
# A spot of the cap's face away from its legend.
spot() { echo "$(($1 + 9 + wx)),$(($2 + 8 + wy))"; }
# What the screen shows at the spots of the given caps, one colour per line.
colours() { # name of the picture, then left top pairs
    local shot=$1
    shift
    local points=()
    while [ $# -ge 2 ]; do
        points+=("$(spot "$1" "$2")")
        shift 2
    done
    "$pixel" "$artefacts/$shot.png" "${points[@]}"
}
green() { # #rrggbb: the tested caps' green, give or take the smoothing
    local r=$((16#${1:1:2})) g=$((16#${1:3:2})) b=$((16#${1:5:2}))
    [ "$g" -gt 130 ] && [ "$r" -lt 90 ] && [ "$b" -lt 130 ]
}
accent() {
    local r=$((16#${1:1:2})) g=$((16#${1:3:2})) b=$((16#${1:5:2}))
    [ "$r" -gt 200 ] && [ "$g" -gt 60 ] && [ "$g" -lt 190 ] && [ "$b" -lt 90 ]
}

# Key test on: the toggle in the model card.
xdotool mousemove "$((1152 + wx))" "$((629 + wy))" click 1
sleep 0.5
# The pointer away from the keys, so that no cap shows its hover look.
xdotool mousemove "$((60 + wx))" "$((600 + wy))"
xdotool windowfocus --sync "$window" 2>/dev/null || true

for entry in "${keys[@]}"; do
    read -r name left top sym <<<"$entry"
    xdotool key "$sym"
done
sleep 0.5
# X held, Q never typed.
xdotool keydown x
sleep 0.4
typed=()
for entry in "${keys[@]}"; do
    read -r name left top sym <<<"$entry"
    typed+=("$left" "$top")
done
mapfile -t seen < <(colours e2e-key-test-typed "${typed[@]}" 281 367 193 273)
xdotool keyup x
i=0
for entry in "${keys[@]}"; do
    read -r name left top sym <<<"$entry"
    log "$name: ${seen[$i]}"
    green "${seen[$i]}" || fail "$name is ${seen[$i]}, not shown as tested"
    i=$((i + 1))
done
log "X held: ${seen[$i]}, Q not typed: ${seen[$((i + 1))]}"
accent "${seen[$i]}" || fail "the held X is ${seen[$i]}, not shown pressed"
green "${seen[$((i + 1))]}" && fail "Q was never typed but shows as tested"
accent "${seen[$((i + 1))]}" && fail "Q was never typed but shows as pressed"
sleep 0.3
mapfile -t released < <(colours e2e-key-test-released 281 367)
green "${released[0]}" || fail "X released is ${released[0]}, not shown as tested"

# Esc ends the test: the caps show the assignments again, and keys are no longer taken.
xdotool key Escape
sleep 0.5
xdotool key b
sleep 0.5
mapfile -t after < <(colours e2e-key-test-ended 210 320 419 367)
log "after Esc: A ${after[0]}, B ${after[1]}"
green "${after[0]}" && fail "the caps still show the test after Esc"
green "${after[1]}" && fail "B typed after Esc shows as tested"
log "passed"
