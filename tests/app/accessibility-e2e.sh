#!/usr/bin/env bash
# As a screen reader sees it, from outside the process: quillo-sim on a virtual X display with
# the desktop's accessibility bus, its main window's buttons found by name through AT-SPI.
#   accessibility-e2e.sh QUILLO_SIM
set -euo pipefail

sim=$1
here=$(cd "$(dirname "$0")" && pwd)
# The system's Python, which has pyatspi; another one first in PATH would not.
python=/usr/bin/python3

skip() {
    echo "accessibility-e2e: $* (scripts/install-deps.sh)" >&2
    exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
[ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

# Under the sanitizers: libxkbcommon-x11 duplicates strings of X replies that are not
# terminated where strict string checks expect, which is no fault of ours.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
export QT_QPA_PLATFORM=xcb
# Qt serves the accessibility bus only when asked; a desktop asks through its settings.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec "$here/../../scripts/with-xvfb.sh" "-screen 0 1280x1024x24" \
    dbus-run-session -- "$python" "$here/find-buttons.py" "$sim"
