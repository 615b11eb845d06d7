# Builds USB gadget keyboards in configfs and plugs them into dummy_hcd's controllers.
# Sourced by the test that runs inside the machine.

gadgets=/sys/kernel/config/usb_gadget

# The boot keyboard's report descriptor (8-byte reports), the standard one of HID 1.11's appendix B.
boot_descriptor='\x05\x01\x09\x06\xa1\x01\x05\x07\x19\xe0\x29\xe7\x15\x00\x25\x01\x75\x01\x95\x08\x81\x02\x95\x01\x75\x08\x81\x03\x95\x05\x75\x01\x05\x08\x19\x01\x29\x05\x91\x02\x95\x01\x75\x03\x91\x03\x95\x06\x75\x08\x15\x00\x25\x65\x05\x07\x19\x00\x29\x65\x81\x00\xc0'
# The vendor function: 64 bytes in, 64 bytes out, no report IDs.
vendor_descriptor='\x06\x00\xff\x09\x01\xa1\x01\x09\x02\x15\x00\x26\xff\x00\x75\x08\x95\x40\x81\x02\x09\x03\x15\x00\x26\xff\x00\x75\x08\x95\x40\x91\x02\xc0'

# make_hid GADGET FUNCTION PROTOCOL SUBCLASS LENGTH DESCRIPTOR [NO_OUT_ENDPOINT]
make_hid() {
    local f=$gadgets/$1/functions/hid.$2
    mkdir "$f"
    echo "$3" > "$f/protocol"
    echo "$4" > "$f/subclass"
    echo "$5" > "$f/report_length"
    printf "$6" > "$f/report_desc"
    if [ "${7:-0}" = 1 ]; then echo 1 > "$f/no_out_endpoint"; fi
}

# make_keyboard NAME PRODUCT LAYOUT: LAYOUT is "normal" (boot keyboard on interface 0, vendor
# function on 1), "decoy" (the two swapped) or "set-report" (normal, but the vendor function has
# no OUT endpoint, so the host sends its reports by SET_REPORT).
make_keyboard() {
    local name=$1 product=$2 layout=$3 g=$gadgets/$1
    mkdir "$g"
    echo 0x0483 > "$g/idVendor"
    echo "0x$product" > "$g/idProduct"
    echo 0x0200 > "$g/bcdUSB"
    mkdir "$g/strings/0x409"
    echo "Quillo test" > "$g/strings/0x409/manufacturer"
    echo "Keyboard $product ($layout)" > "$g/strings/0x409/product"
    echo "$name" > "$g/strings/0x409/serialnumber"
    mkdir "$g/configs/c.1"
    echo 100 > "$g/configs/c.1/MaxPower"
    make_hid "$name" keyboard 1 1 8 "$boot_descriptor"
    make_hid "$name" vendor 0 0 64 "$vendor_descriptor" "$([ "$layout" = set-report ] && echo 1)"
    # The order of the links is the order of the interfaces.
    if [ "$layout" = decoy ]; then
        ln -s "$g/functions/hid.vendor" "$g/configs/c.1/"
        ln -s "$g/functions/hid.keyboard" "$g/configs/c.1/"
    else
        ln -s "$g/functions/hid.keyboard" "$g/configs/c.1/"
        ln -s "$g/functions/hid.vendor" "$g/configs/c.1/"
    fi
}

# The gadget side's /dev/hidgN of a function, from the device number configfs gives.
function_node() {
    local dev
    dev=$(cat "$gadgets/$1/functions/hid.$2/dev")
    echo "/dev/$(sed -n 's/^DEVNAME=//p' "/sys/dev/char/$dev/uevent")"
}

# wait_for WHAT SECONDS COMMAND...: runs COMMAND until it succeeds, at most SECONDS.
wait_for() {
    local what=$1 limit=$2 i
    shift 2
    for ((i = 0; i < limit * 20; i++)); do
        "$@" && return 0
        sleep 0.05
    done
    echo "timed out waiting for $what" >&2
    return 1
}

# The hidraw nodes of gadget NAME's interface N on the host side, one per line.
host_nodes() {
    local serial=$1 interface=$2 node dir
    for node in /sys/class/hidraw/hidraw*; do
        [ -e "$node" ] || continue
        dir=$(readlink -f "$node/device")
        # …/1-1:1.N/0003:0483:5330.000K: the USB device above it carries the serial number.
        [ "$(cat "$dir/../../serial" 2>/dev/null)" = "$serial" ] || continue
        [ "$(cat "$dir/../bInterfaceNumber")" = "$(printf %02x "$interface")" ] || continue
        echo "/dev/${node##*/}"
    done
}

# plug NAME CONTROLLER / unplug NAME: binds the gadget to a controller of dummy_hcd, or
# unbinds it, and waits until the host side has seen it.
plug() {
    echo "$2" > "$gadgets/$1/UDC"
    wait_for "$1's hidraw nodes" 10 has_nodes "$1" 2
}
has_nodes() { [ "$(host_nodes "$1" 0 | wc -l)$(host_nodes "$1" 1 | wc -l)" = 11 ]; }
unplug() {
    echo "" > "$gadgets/$1/UDC"
    wait_for "$1's hidraw nodes to go" 10 no_nodes "$1"
}
no_nodes() { [ -z "$(host_nodes "$1" 0)$(host_nodes "$1" 1)" ]; }

remove_keyboard() {
    local g=$gadgets/$1
    [ -d "$g" ] || return 0
    [ -z "$(cat "$g/UDC")" ] || unplug "$1"
    rm -f "$g"/configs/c.1/hid.*
    rmdir "$g/configs/c.1" "$g"/functions/hid.* "$g/strings/0x409" "$g"
}
