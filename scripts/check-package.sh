#!/usr/bin/env bash
# Builds the Debian package from the default build and checks it as a distribution would: its
# file list, lintian, the desktop entry and AppStream data, the programs run from the package
# unpacked into a throw-away root, and its first run installed into a minimal Debian root
# (scripts/check-minimal-root.sh).
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
# Built as Debian builds: fortified, with read-only relocations bound at start. Lintian tells
# these only among its notes (-I).
hardening=$(lintian --allow-root -I \
    --tags hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-relro "$deb")
if [ -n "$hardening" ]; then
    echo "$hardening" >&2
    echo "check-package: the programs are built without hardening" >&2
    exit 1
fi

stamp "desktop entry and AppStream data"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

stamp "one release history"
# The AppStream releases are the changelog's entries, version and day, and the newest is the
# package's own version.
zcat "$root/usr/share/doc/quillo/changelog.gz" >"$root.changelog"
dpkg-parsechangelog -l "$root.changelog" --all --format rfc822 \
    | awk -F': ' '/^Version:/ { v = $2 } /^Date:/ { print v, $2 }' \
    | while read -r version date; do echo "$version $(date -u -d "$date" +%F)"; done >"$root.debian"
grep -o '<release version="[^"]*" date="[^"]*"' "$root"/usr/share/metainfo/*.metainfo.xml \
    | sed 's/<release version="\([^"]*\)" date="\([^"]*\)"/\1 \2/' >"$root.appstream"
if ! diff -u "$root.debian" "$root.appstream" \
    || [ "$(head -n1 "$root.debian" | cut -d' ' -f1)" != "$(dpkg-deb -f "$deb" Version)" ]; then
    echo "check-package: the AppStream releases, the changelog and the package version differ" >&2
    rm -f "$root.changelog" "$root.debian" "$root.appstream"
    exit 1
fi
rm -f "$root.changelog" "$root.debian" "$root.appstream"

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

# A clean machine's first run, where the build has the tests for it.
if [ -x "$build/bin/first_run_tests" ]; then
    scripts/check-minimal-root.sh "$deb" "$build"
else
    echo "check-package: no first-run tests in $build (a build without tests): minimal root skipped"
fi
