#!/usr/bin/env bash
# Installs what building, testing and running Quillo need on Debian 12. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-wayland qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libcli11-dev libzstd-dev
    zlib1g-dev libfontconfig-dev
    clang libclang-rt-14-dev libtsan2
    g++-mingw-w64-x86-64
    xvfb xauth xdotool fonts-wqy-microhei
    at-spi2-core python3-pyatspi dbus-daemon
    help2man lintian desktop-file-utils appstream file fp-utils tidy debootstrap
    weston wine64
    qemu-system-x86 busybox-static udev
    man-db groff-base
    clang-format
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: everything is installed"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    run=()
elif command -v sudo >/dev/null 2>&1; then
    run=(sudo)
else
    echo "install-deps: these packages are missing and installing them needs root:" >&2
    echo "    apt-get install ${missing[*]}" >&2
    echo "Run that as root (or this script with sudo), then try again." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
