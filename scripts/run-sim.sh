#!/usr/bin/env bash
# Sets everything up and runs Quillo against the built-in emulated keyboard. Without a display
# it runs under a virtual one, saves a screenshot of the main window and exits by itself.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quillo-sim Quillores guide

program=build/default/bin/quillo-sim
if [ ! -x "$program" ]; then
    echo "run-sim: quillo-sim has not been built" >&2
    exit 1
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "$@"
fi
shot="$PWD/build/quillo-sim.png"
scripts/with-xvfb.sh "-screen 0 1920x1080x24" "$program" --screenshot "$shot" "$@"
echo "run-sim: screenshot of the main window saved to $shot"
