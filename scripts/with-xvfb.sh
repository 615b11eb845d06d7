#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, as xvfb-run -a does, without its races.
# Xvfb never resets (-noreset): by default it resets each time its last client leaves, and
# drops any client connecting just then, so a program started beside a short-lived xdotool
# or the accessibility bus launcher could fail to open the display. It takes the first
# display number it can fully listen on and names it only once it accepts connections
# (-displayfd), and it has ended before this returns.
#   with-xvfb.sh "SERVER ARGS" COMMAND [ARG...]
# Exits 77 when Xvfb or xauth is missing, else with the command's status.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: with-xvfb.sh \"SERVER ARGS\" COMMAND [ARG...]" >&2
    exit 2
fi
server_args=$1
shift
for tool in Xvfb xauth mcookie; do
    if ! command -v "$tool" >/dev/null; then
        echo "with-xvfb: $tool is not installed (scripts/install-deps.sh)" >&2
        exit 77
    fi
done

dir=$(mktemp -d -t quillo-xvfb.XXXXXX)
xvfb=
finish() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap finish EXIT

# The server takes every cookie in its file whatever display it names; clients look theirs up
# by display, so theirs is written once the number is known.
cookie=$(mcookie)
touch "$dir/server" "$dir/client"
xauth -q -f "$dir/server" add :0 . "$cookie"
mkfifo "$dir/displayfd"
# shellcheck disable=SC2086 # the server's arguments are words
Xvfb -displayfd 3 -noreset -nolisten tcp -auth "$dir/server" $server_args \
    3>"$dir/displayfd" 2>"$dir/xvfb.log" </dev/null &
xvfb=$!
display=
read -r -t 30 display <"$dir/displayfd" || true
if [ -z "$display" ]; then
    echo "with-xvfb: Xvfb did not start:" >&2
    tail -n 20 "$dir/xvfb.log" >&2
    exit 1
fi

export DISPLAY=":$display"
export XAUTHORITY="$dir/client"
xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"
status=0
"$@" || status=$?
if [ "$status" -ne 0 ] && ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with-xvfb: Xvfb on $DISPLAY ended before the command did:" >&2
    tail -n 20 "$dir/xvfb.log" >&2
fi
exit "$status"
