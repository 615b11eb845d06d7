#!/usr/bin/env bash
# Builds the Debian package from the default build and checks it as a distribution would: its
# file list, lintian, the desktop entry and AppStream data, and the programs run from the
# package unpacked into a throw-away root.
#
#   scripts/check-package.sh            builds the "package" preset (warnings are not errors)
#   scripts/check-package.sh BUILD_DIR  packages a tree already built, as CI does with the
#                                       default build its tests ran on
set -euo pipefail
cd "$(dirname "$0")/.."

stamp() { echo "== $(date +%T) package: $*"; }

if [ $# -gt 0 ]; then
    build=$1
    [ -f "$build/CMakeCache.txt" ] || { echo "check-package: $build is no build tree" >&2; exit 2; }
    cmake --build "$build"
else
    build=build/package
    stamp "build"
    cmake --preset package >/dev/null
    cmake --build --preset package
fi

stamp "cpack"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/package/quillo_*.deb)
echo "$deb"
dpkg-deb -f "$deb" Package Version Depends

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

stamp "file list"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' | grep -v '/$' | sort >"$root.list"
if ! diff -u packaging/file-list.txt "$root.list"; then
    echo "check-package: the package's files differ from packaging/file-list.txt" >&2
    rm -f "$root.list"
    exit 1
fi
rm -f "$root.list"

stamp "the user guide"
# A compiled help file begins with "ITSF"; the pages it was made from lie beside it.
[ "$(head -c 4 "$root/usr/share/quillo/Quillo.chm")" = ITSF ] \
    || { echo "check-package: Quillo.chm is not a compiled help file" >&2; exit 1; }
grep -q 'href="key-settings.html"' "$root/usr/share/quillo/guide/index.html"

stamp "lintian"
lintian --allow-root --fail-on error "$deb"

stamp "desktop entry and AppStream data"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

stamp "the unpacked programs"
export LD_LIBRARY_PATH="$root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)"

stamp "manual pages"
scripts/check-manpages.sh "$root/usr/share/man/man1" "$root/usr/bin"
"$root/usr/bin/quillo" --version
"$root/usr/bin/quillo-cli" --sim 4 detect
shot="$PWD/build/package-quillo-sim.png"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/quillo-sim" --screenshot "$shot"
test -s "$shot"
echo "check-package: screenshot from the unpacked package saved to $shot"
