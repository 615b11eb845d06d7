#!/usr/bin/env bash
# Boots Debian 12's own kernel under qemu with this machine's root shared read-only, and runs
# SCRIPT there as root in a chroot of it: the real USB and HID drivers, with dummy_hcd as the
# cable. Exit status: SCRIPT's, 77 where qemu or the kernel package cannot be had.
# usage: tests/kernel/boot.sh WORK_DIR SCRIPT [ARGS...]
# WORK_DIR keeps the kernel between runs and is writable from inside, at the same path.
set -euo pipefail

work=$(realpath -m "$1"); shift
script=$(realpath "$1"); shift
here=$(cd "$(dirname "$0")" && pwd)
timeout_s=${QUILLO_KERNEL_TIMEOUT:-270}

skip() { echo "SKIPPED: $*"; exit 77; }
say() { echo "kernel-test: $*"; }

command -v qemu-system-x86_64 >/dev/null || skip "qemu-system-x86_64 is not installed (package qemu-system-x86)"
busybox=/bin/busybox
if ! [ -x "$busybox" ] || ldd "$busybox" >/dev/null 2>&1; then
    skip "no static busybox at $busybox (package busybox-static)"
fi
mkdir -p "$work"

# The kernel package named by linux-image-amd64, fetched once and unpacked.
kernel_dir=$work/kernel
if ! [ -f "$kernel_dir/vmlinux" ]; then
    package=$(apt-cache depends linux-image-amd64 2>/dev/null \
              | sed -n 's/^ *Depends: \(linux-image-[^ ]*\)$/\1/p' | head -n1)
    [ -n "$package" ] || skip "apt knows no linux-image-amd64 package"
    rm -rf "$kernel_dir" && mkdir -p "$kernel_dir/deb"
    (cd "$kernel_dir/deb" && apt-get download -q "$package" >/dev/null 2>&1) \
        || skip "apt-get download $package failed"
    dpkg-deb -x "$kernel_dir"/deb/*.deb "$kernel_dir/root"
    # Booting the uncompressed image through its PVH entry spares the decompressor, which
    # is slow under emulation.
    python3 "$here/vmlinux.py" "$kernel_dir"/root/boot/vmlinuz-* "$kernel_dir/vmlinux.new"
    # Only the modules the machine loads are kept, in the order they load.
    mkdir -p "$kernel_dir/modules"
    python3 "$here/modules.py" "$kernel_dir"/root/lib/modules \
        usbhid hid_generic dummy_hcd usb_f_hid 9p 9pnet_virtio virtio_pci > "$kernel_dir/order"
    while read -r ko; do cp "$ko" "$kernel_dir/modules/"; done < "$kernel_dir/order"
    sed -i 's|.*/||' "$kernel_dir/order"
    basename "$(echo "$kernel_dir"/root/lib/modules/*)" > "$kernel_dir/release"
    rm -rf "$kernel_dir/root" "$kernel_dir/deb"
    mv "$kernel_dir/vmlinux.new" "$kernel_dir/vmlinux"
fi

# The initramfs: busybox, the modules in load order, and the init below.
initrd=$work/initramfs.cpio
stage=$work/stage
rm -rf "$stage" && mkdir -p "$stage"/{bin,proc,sys,dev,host,out}
cp "$busybox" "$stage/bin/busybox"
cp -r "$kernel_dir/modules" "$stage/modules"
cp "$kernel_dir/order" "$stage/modules/order"
cat > "$stage/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
while read -r ko; do
    # Two controllers: a keyboard and a decoy plugged in at once.
    case $ko in dummy_hcd.ko) options=num=2 ;; *) options= ;; esac
    insmod "/modules/$ko" $options || echo "kernel-test: insmod $ko failed"
done < /modules/order
status=1
if mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=262144,cache=loose host /host \
   && mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 out /out; then
    work=$(cat /out/work)
    mount -t proc proc /host/proc
    mount -t sysfs sys /host/sys
    mount -t configfs configfs /host/sys/kernel/config
    mount -t devtmpfs dev /host/dev
    mount -t tmpfs tmpfs /host/run
    mount -t tmpfs tmpfs /host/tmp
    mkdir -p "/host$work" 2>/dev/null
    mount --bind /out "/host$work"
    chroot /host /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/tmp \
        LANG=C.UTF-8 /bin/bash "$work/command"
    status=$?
else
    echo "kernel-test: the host's files could not be shared"
fi
echo "kernel-test: exit status $status"
echo "$status" > /out/status
sync
poweroff -f
INIT
chmod +x "$stage/init"
(cd "$stage" && find . | "$busybox" cpio -o -H newc 2>/dev/null) > "$initrd"

# What to run inside, written where the machine finds it.
rm -f "$work/status"
echo "$work" > "$work/work"
printf 'cd %q && exec /bin/bash' "$PWD" > "$work/command"
printf ' %q' "$script" "$@" >> "$work/command"
say "booting $(cat "$kernel_dir/release") under qemu (software emulation), at most ${timeout_s}s"
start=$(date +%s)
set +e
timeout --kill-after=5 "$timeout_s" qemu-system-x86_64 -accel tcg -m 1024 -smp 1 \
    -nodefaults -no-reboot -display none -serial stdio \
    -kernel "$kernel_dir/vmlinux" -initrd "$initrd" \
    -append "console=ttyS0 quiet panic=-1" \
    -virtfs local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=$work,mount_tag=out,security_model=none" </dev/null
qemu_status=$?
set -e
say "the machine ran $(($(date +%s) - start)) s"
if [ "$qemu_status" = 124 ] || [ "$qemu_status" = 137 ]; then
    say "FAILED: the machine did not finish within ${timeout_s}s and was killed"
    exit 1
fi
[ -f "$work/status" ] || { say "FAILED: the machine ended without a result (qemu status $qemu_status)"; exit 1; }
exit "$(cat "$work/status")"
