#!/usr/bin/env bash
# Runs quillo-sim on Wayland under a headless weston: once with --screenshot (the program's own
# picture of its first paint), once shown so that the compositor takes its screenshot of the
# desktop, where the face's transparent corners must show what lies behind the window.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build/default/bin/quillo-sim}
out=${2:-build/wayland}
mkdir -p "$out"
out=$(cd "$out" && pwd)

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
socket=quillo-weston
weston_pid=
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT

# Pixman renders for real (the headless default draws nothing); --debug offers the screenshooter.
weston --backend=headless-backend.so --use-pixman --width=1920 --height=1080 \
    --socket="$socket" --idle-time=0 --debug --log="$out/weston.log" &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
    echo "wayland-screenshot: weston did not start; its log:" >&2
    cat "$out/weston.log" >&2
    exit 1
fi
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland

"$program" --screenshot "$out/quillo-sim-wayland.png"
test -s "$out/quillo-sim-wayland.png"

# Shown on the desktop until the compositor has taken its picture.
"$program" >"$out/quillo-sim.log" 2>&1 &
sim_pid=$!
sleep 3
(cd "$out" && rm -f wayland-screenshot-*.png && weston-screenshooter)
shot=$(ls "$out"/wayland-screenshot-*.png | head -1)
mv "$shot" "$out/weston-desktop.png"
test -s "$out/weston-desktop.png"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=
echo "wayland-screenshot: $out/quillo-sim-wayland.png and $out/weston-desktop.png"
