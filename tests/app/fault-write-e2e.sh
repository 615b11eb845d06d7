#!/usr/bin/env bash
# End to end on a virtual X display: quillo-sim with a keyboard unplugged half-way through
# "Write key settings"; the failure message and the unchanged configuration are read back
# through AT-SPI, as a screen reader would.
#   fault-write-e2e.sh QUILLO_SIM SCREEN_PIXEL ARTEFACT_DIR
set -euo pipefail

sim=$1
pixel=$2
artefacts=$3
here=$(cd "$(dirname "$0")" && pwd)
# The system's Python, which has pyatspi; another one first in PATH would not.
python=/usr/bin/python3

skip() {
    echo "fault-write-e2e: $* (scripts/install-deps.sh)" >&2
    exit 77
}
for tool in Xvfb xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
[ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

# Under the sanitizers: libxkbcommon-x11 duplicates strings of X replies that are not
# terminated where strict string checks expect, which is no fault of ours.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -p "$artefacts"
trace="$artefacts/e2e-fault-write-trace.txt"
# A screen under 1080 lines: the windows are drawn at scale 1.
exec "$here/../../scripts/with-xvfb.sh" "-screen 0 1280x1024x24" \
    dbus-run-session -- "$python" "$here/fail-write-keys.py" "$sim" "$pixel" "$artefacts" "$trace"
