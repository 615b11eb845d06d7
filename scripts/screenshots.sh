#!/usr/bin/env bash
# Makes the pictures of the user guide and the README: drives quillo-sim on a virtual X display
# with xdotool as a user would, window by window, in English and then in Chinese, and saves each
# window as it is on screen.
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

# The tour of every window, once per language: "en" (pictures NAME.png) or "zh" (NAME-zh.png,
# the Chinese window's own captions). The program starts in Chinese.
tour() {
    local lang=$1 suffix="" keys virtual light multi firmware progress_title
    if [ "$lang" = zh ]; then
        suffix=-zh keys='^按键设置面板$' virtual='^虚拟键盘$' light='^背光设置面板$'
        multi='^多键设置面板$' firmware='^键盘固件升级$' progress_title='^读写进度$'
    else
        keys='^Key Settings$' virtual='^Virtual Keyboard$' light='^BackLight Settings$'
        multi='^Set Multi Key$' firmware='^Firmware Update$' progress_title='^Progress$'
    fi

    start 4 --profile "$lights"
    if [ "$lang" = en ]; then click 902 110; fi # language: English
    away
    shot main-window$suffix

    # The key settings dialog of key W, page by page.
    click 262 296
    dialog=$(find_window "$keys") || fail "the key settings dialog did not open"
    at "$dialog"
    away
    shot key-settings-single$suffix
    click 242 112 # Combo
    click 250 260 # New combination
    click 450 221 # takes the proposed name
    click 450 221 # Record the combination's keys
    xdotool keydown Control_L keydown Shift_L key Escape keyup Shift_L keyup Control_L
    sleep 0.3
    click 450 221 # Stop Rec
    away
    shot key-settings-combo$suffix
    page 2
    click 75 273  # New macro
    click 462 231 # takes the proposed name
    click 462 231 # Record
    xdotool type --delay 120 "hi"
    xdotool key Return
    sleep 0.3
    click 462 231 # Stop Rec
    away
    shot key-settings-macro$suffix
    page 3
    away
    shot key-settings-emulate$suffix
    page 4
    away
    shot key-settings-multimedia$suffix
    page 5
    away
    shot key-settings-mouse$suffix
    page 6
    away
    shot key-settings-function$suffix
    page 7
    away
    shot key-settings-power$suffix
    page 2
    click 407 336 # OK: W plays the macro
    gone "$keys"

    # The virtual keyboard, from the single key's "Virtual Key Input".
    at "$main"
    click 308 296 # key E
    dialog=$(find_window "$keys") || fail "the key settings dialog did not open again"
    at "$dialog"
    click 104 260
    vk=$(find_window "$virtual") || fail "the virtual keyboard did not open"
    at "$vk"
    click 150 150 # a key of the drawing
    away
    shot virtual-keyboard$suffix
    xdotool key Escape
    gone "$virtual"
    at "$dialog"
    click 503 336 # Cancel
    gone "$keys"

    # Backlight and multi-key colours.
    at "$main"
    click 485 110
    lightset=$(find_window "$light") || fail "the backlight dialog did not open"
    at "$lightset"
    click 461 437 # Multi Key
    multiset=$(find_window "$multi") || fail "the multi-key dialog did not open"
    at "$multiset"
    for x in 134 180 226 272; do click "$x" 185; done # the middles of ~, 1, 2 and 3
    away
    shot multi-key$suffix
    click 1221 27 # close
    gone "$multi"
    at "$lightset"
    away
    shot backlight$suffix
    click 851 437 # Cancel
    gone "$light"

    # Firmware update.
    at "$main"
    click 691 110
    update=$(find_window "$firmware") || fail "the firmware update dialog did not open"
    sleep 1 # it reads the version as it opens
    at "$update"
    away
    shot firmware-update$suffix
    click 282 218 # Cancel
    gone "$firmware"

    # Write key settings: the progress window while the keys go to the keyboard, then "OK!!".
    # It stays about a second; a picture taken once it had closed is taken again.
    for attempt in 1 2 3 4 5; do
        at "$main"
        xdotool mousemove "$((380 + wx))" "$((110 + wy))" click 1
        progress=$(find_window "$progress_title" "$main") || fail "the progress window did not appear"
        at "$progress"
        [ "$ww" -eq 370 ] || fail "the progress window is $ww pixels wide, not 370"
        sleep 0.1 # its first frames
        shot progress$suffix
        still=$(xdotool search --onlyvisible --name "$progress_title" 2>/dev/null | grep -x "$progress" || true)
        message_ok
        [ -n "$still" ] && break
        [ "$attempt" -lt 5 ] || fail "the progress window closed each time before its picture"
        log "the progress window closed before its picture was taken: once more"
    done

    # The press counters, read from the keyboard, in the report under the keys.
    at "$main"
    click 797 110
    message_ok
    at "$main"
    xdotool mousemove "$((262 + wx))" "$((296 + wy))" # rests on W: its count and what it does
    sleep 0.5
    shot main-window-counters$suffix
    away
    stop_sim

    # A model without lights.
    start 2
    if [ "$lang" = en ]; then click 797 110; fi # language, one slot to the left here: English
    away
    shot main-window-variant2$suffix
    stop_sim
}
page() { click $((56 + 78 * ($1 - 1))) 64; }

tour en
tour zh
log "pictures in $out"
