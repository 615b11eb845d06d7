# Sourced first by the end-to-end scripts that drive windows on a virtual X display:
#   . "$(dirname "$0")/../support/x-display-e2e.sh" NAME "$0" "$@"
# Outside such a display the script is started again on a new one, a screen under 1080 lines so
# that windows are drawn at scale 1, in base pixels (or skipped, 77, without Xvfb or xdotool).
# Inside, it gets log and fail, and Qt on X.
e2e_name=$1
shift

if [ -z "${E2E_INSIDE:-}" ]; then
    for tool in Xvfb xdotool; do
        if ! command -v "$tool" >/dev/null; then
            echo "$e2e_name: $tool is not installed (scripts/install-deps.sh)" >&2
            exit 77
        fi
    done
    exec env E2E_INSIDE=1 "$(dirname "${BASH_SOURCE[0]}")/../../scripts/with-xvfb.sh" \
        "-screen 0 1280x1024x24" "$@"
fi

log() { echo "$e2e_name: $*"; }
fail() {
    echo "$e2e_name: $*" >&2
    exit 1
}

export QT_QPA_PLATFORM=xcb
# Under the sanitizers: libxkbcommon-x11 duplicates strings of X replies that are not
# terminated where strict string checks expect, which is no fault of ours.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
