#!/usr/bin/env bash
# Makes the pictures of the user guide and the README: drives quillo-sim on a virtual X display
# with xdotool as a user would, window by window, and saves each window as it is on screen.
#   scripts/screenshots.sh [OUT_DIR]        (default: docs/guide/images)
# Needs a default build (it builds what it uses), Xvfb and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

out=${1:-docs/guide/images}
case $out in /*) ;; *) out="$root/$out" ;; esac
build=${QUILLO_BUILD:-build/default}
sim=$root/$build/bin/quillo-sim
pixel=$root/$build/bin/screen-pixel

if [ -z "${SHOTS_INSIDE:-}" ]; then
    for tool in Xvfb xdotool; do
        command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
    done
    cmake --preset default >/dev/null
    cmake --build --preset default --target quillo-sim screen-pixel Quillores
    mkdir -p "$out"
    # Scale 1 (a screen under 1080 lines) and a white root: the see-through corners of the
    # faces come out white, as on the page around them.
    exec env SHOTS_INSIDE=1 "$root/scripts/with-xvfb.sh" "-screen 0 1600x1000x24 -wr" "$0" "$out"
fi

log() { echo "screenshots: $*"; }
fail() { echo "screenshots: $*" >&2; exit 1; }

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
pid=""
stop_sim() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=""
    fi
}
trap stop_sim EXIT

# find TITLE_REGEX [EXCEPT_ID]: the visible window of that title, waiting for it.
find_window() {
    local id
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            [ "$id" != "${2:-}" ] && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
gone() { # TITLE_REGEX: waits until no window of that title is visible
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window \"$1\" did not close"
}
wx=0 wy=0
at() { # WINDOW: later clicks are relative to it
    eval "$(xdotool getwindowgeometry --shell "$1")"
    wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
}
click() { # X Y [BUTTON] in the current window's base pixels; then time for the held click
    xdotool mousemove "$(($1 + wx))" "$(($2 + wy))" click "${3:-1}"
    sleep 0.5
}
away() { xdotool mousemove 1590 990; sleep 0.3; } # no hover marks in a picture
shot() { # NAME: the current window as on screen
    "$pixel" "$out/$1.png" --rect "$wx,$wy,$ww,$wh" >/dev/null
    log "$1.png (${ww}x$wh)"
}
start() { # VARIANT [OPTIONS]: runs quillo-sim and waits for its main window
    local variant=$1 title
    shift
    case $variant in 1) title='^Quillo\(RGB\)BLe$' ;; 2) title='^Quillo\(S\)BLe$' ;;
        3) title='^Quillo\(S\)$' ;; *) title='^Quillo\(RGB\)$' ;; esac
    "$sim" --variant "$variant" "$@" &
    pid=$!
    main=$(find_window "$title") || fail "the main window of variant $variant did not appear"
    main_title=$title
    sleep 0.5
    at "$main"
    [ "$ww" -eq 1240 ] || fail "the main window is $ww pixels wide, not 1240 at scale 1"
}
message_ok() { # the "OK!!" box over the main window: waits for it, then Enter
    local box
    box=$(find_window "$main_title" "$main") || fail "no message after the command"
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    sleep 0.3
    xdotool key Return
    sleep 0.5
}

work=$(mktemp -d)
trap 'stop_sim; rm -rf "$work"' EXIT
profile=$work/sample.pro

# Lights for the pictures: a rainbow over the key numbers, row by row.
lights=$work/lights.pro
"$root/$build/bin/quillo-cli" defaults --variant 4 -o "$work/defaults.pro" >/dev/null
awk '
match($0, /<AREA ID="[0-9]+"/) {
    id = substr($0, RSTART + 10, RLENGTH - 11) + 0
    h = (id - 1) * 300 / 108
    x = h / 60; i = int(x); f = x - i
    r = g = b = 0
    if (i == 0) { r = 1; g = f } else if (i == 1) { r = 1 - f; g = 1 } else if (i == 2) { g = 1; b = f }
    else if (i == 3) { g = 1 - f; b = 1 } else { r = f; b = 1 }
    printf "<AREA ID=\"%d\" Red=\"%d\" Green=\"%d\" Blue=\"%d\"/>\n", id, 255 * r, 255 * g, 255 * b
    next
}
{ print }' "$work/defaults.pro" >"$lights"

# --- Quillo(RGB), in English ---------------------------------------------------------------
start 4 --profile "$lights"
click 902 110 # language: English
away
shot main-window

# The key settings dialog of key W, page by page.
click 262 296
dialog=$(find_window '^Key Settings$') || fail "the key settings dialog did not open"
at "$dialog"
away
shot key-settings-single
click 242 112 # Combo
click 250 260 # New combination
click 450 221 # takes the proposed name
click 450 221 # Record the combination's keys
xdotool keydown Control_L keydown Shift_L key Escape keyup Shift_L keyup Control_L
sleep 0.3
click 450 221 # Stop Rec
away
shot key-settings-combo
page() { click $((56 + 78 * ($1 - 1))) 64; }
page 2
click 75 273  # New macro
click 462 231 # takes the proposed name
click 462 231 # Record
xdotool type --delay 120 "hi"
xdotool key Return
sleep 0.3
click 462 231 # Stop Rec
away
shot key-settings-macro
page 3
away
shot key-settings-emulate
page 4
away
shot key-settings-multimedia
page 5
away
shot key-settings-mouse
page 6
away
shot key-settings-function
page 7
away
shot key-settings-power
page 2
click 407 336 # OK: W plays the macro
gone '^Key Settings$'

# The virtual keyboard, from the single key's "Virtual Key Input".
at "$main"
click 308 296 # key E
dialog=$(find_window '^Key Settings$') || fail "the key settings dialog did not open again"
at "$dialog"
click 104 260
virtual=$(find_window '^Virtual Keyboard$') || fail "the virtual keyboard did not open"
at "$virtual"
click 150 150 # a key of the drawing
away
shot virtual-keyboard
xdotool key Escape
gone '^Virtual Keyboard$'
at "$dialog"
click 503 336 # Cancel
gone '^Key Settings$'

# Backlight and multi-key colours.
at "$main"
click 485 110
light=$(find_window '^BackLight Settings$') || fail "the backlight dialog did not open"
at "$light"
click 461 437 # Multi Key
multi=$(find_window '^Set Multi Key$') || fail "the multi-key dialog did not open"
at "$multi"
for x in 150 200 250 300; do click "$x" 200; done
away
shot multi-key
click 1221 27 # close
gone '^Set Multi Key$'
at "$light"
away
shot backlight
click 851 437 # Cancel
gone '^BackLight Settings$'

# Firmware update.
at "$main"
click 691 110
firmware=$(find_window '^Firmware Update$') || fail "the firmware update dialog did not open"
sleep 1 # it reads the version as it opens
at "$firmware"
away
shot firmware-update
click 282 218 # Cancel
gone '^Firmware Update$'

# Write key settings: the progress window while the keys go to the keyboard, then "OK!!".
at "$main"
click 380 110
progress=$(find_window '^Progress$' "$main") || fail "the progress window did not appear"
at "$progress"
[ "$ww" -eq 370 ] || fail "the progress window is $ww pixels wide, not 370"
sleep 0.1 # its first frames; the emulated keyboard takes about a second
shot progress
message_ok

# The press counters, read from the keyboard, in the report under the keys.
at "$main"
click 797 110
message_ok
at "$main"
xdotool mousemove "$((262 + wx))" "$((296 + wy))" # rests on W: its count and what it does
sleep 0.5
shot main-window-counters
away

# Save the profile, as the Save button does, for the Chinese round below.
click 62 110
sleep 1
xdotool type --delay 10 "$profile"
xdotool key Return
for _ in $(seq 50); do [ -s "$profile" ] && break; sleep 0.1; done
[ -s "$profile" ] || fail "the profile was not saved"
stop_sim

# --- Chinese, and the models without lights --------------------------------------------------
start 4 --profile "$profile"
sleep 0.5
away
shot main-window-zh
click 262 296
dialog=$(find_window '^按键设置面板$') || fail "the Chinese key settings dialog did not open"
at "$dialog"
click 134 64 # Macro
away
shot key-settings-macro-zh
click 503 336
stop_sim

start 2
click 797 110 # language (one slot to the left on this model): English
away
shot main-window-variant2
stop_sim
log "pictures in $out"
