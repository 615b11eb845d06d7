#!/usr/bin/env bash
# The package's first run on a clean machine: a minimal Debian 12 root (debootstrap
# --variant=minbase), the package installed into it as a new user would (apt install ./DEB,
# with what it depends on and recommends), and there the first-run tests of the build: the
# Chinese main window without box glyphs, drawn in the CJK font the package brought, and Help's
# message where nothing opens the guide (xdg-open finding no program; no xdg-open at all).
# Their pictures land in BUILD_DIR/test-artefacts/. Needs root and Debian's mirror
# ($QUILLO_DEBIAN_MIRROR, by default deb.debian.org).
#
#   scripts/check-minimal-root.sh DEB BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."

[ $# -eq 2 ] || { echo "usage: $0 DEB BUILD_DIR" >&2; exit 2; }
deb=$(realpath "$1")
build=$(realpath "$2")
tests="$build/bin/first_run_tests"
[ -x "$tests" ] || { echo "check-minimal-root: $tests is not built (a build with tests)" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "check-minimal-root: needs root (debootstrap, chroot)" >&2; exit 2; }
mirror=${QUILLO_DEBIAN_MIRROR:-http://deb.debian.org/debian}

stamp() { echo "== $(date +%T) minimal root: $*"; }

root=$(mktemp -d /tmp/quillo-root.XXXXXX)
log="$root.log"
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    umount "$root" 2>/dev/null || true
    rm -rf "$root" "$log"
}
trap cleanup EXIT
# On a RAM disk: dpkg syncs every file it writes, which on a disk takes longer than all else.
mount -t tmpfs -o size=4g,mode=0755 quillo-root "$root"

stamp "debootstrap --variant=minbase bookworm"
if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    exit 1
fi

stamp "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
mount -t proc proc "$root/proc"
if ! chroot "$root" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q "./tmp/$(basename "$deb")" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    exit 1
fi
grep 'newly installed' "$log"

# The tests find the package's skins and guide where the installation put them.
mkdir -p "$root/opt/quillo-tests/bin"
cp "$tests" "$root/opt/quillo-tests/bin/"
# run PATH [VARIABLE=VALUE...] -- TEST ARGUMENTS
run() {
    local settings=()
    while [ "$1" != -- ]; do settings+=("$1"); shift; done
    shift
    chroot "$root" env -i HOME=/root LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen "${settings[@]}" \
        /opt/quillo-tests/bin/first_run_tests "$@"
}
out="$root.out"

stamp "the first window's captions"
run PATH=/usr/bin:/bin -- --gtest_filter='FirstRun.TheMainWindow*' | tee "$out"
# The first of the package's CJK fonts is the one apt installs.
grep -q 'Chinese captions drawn in "Noto Sans CJK SC"' "$out" \
    || { echo "check-minimal-root: the captions are not drawn in Noto Sans CJK SC" >&2; exit 1; }

stamp "Help without a program for the guide, and without xdg-open"
for launcher in xdg-open none; do
    path=/usr/bin:/bin
    # xdg-open lies in /usr/bin.
    [ $launcher = none ] && path=/usr/sbin:/sbin
    run PATH=$path QUILLO_TEST_REAL_LAUNCHER=$launcher -- --gtest_filter='FirstRun.Help*' \
        | tee "$out"
    grep -q '/usr/share/quillo/guide/zh-CN/index.html\|/usr/share/quillo/guide/index.html' "$out" \
        || { echo "check-minimal-root: Help did not name the installed guide" >&2; exit 1; }
    if grep -q '\[  SKIPPED \]' "$out"; then
        echo "check-minimal-root: Help was not tried" >&2
        exit 1
    fi
done
rm -f "$out"

mkdir -p "$build/test-artefacts"
cp "$root"/opt/quillo-tests/test-artefacts/*.png "$build/test-artefacts/"
echo "check-minimal-root: pictures in $build/test-artefacts/first-run-*.png"
