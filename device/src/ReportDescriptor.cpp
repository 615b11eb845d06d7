#include "device/src/ReportDescriptor.h"

namespace quillodev {

namespace {

constexpr int MaxPushDepth = 16; // more than any real descriptor nests

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
};

} // namespace

bool ReportDescriptor::carriesKeyboardReports(const std::uint8_t *bytes, std::size_t size)
{
    if (!bytes)
        return false;
    Globals globals;
    Globals stack[MaxPushDepth];
    int depth = 0;
    std::uint64_t inputBits = 0;
    std::uint64_t outputBits = 0;
    bool numbered = false;

    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t prefix = bytes[at++];
        if (prefix == 0xfe) { // a long item: skipped, its length checked
            if (size - at < 2 || size - at - 2 < bytes[at])
                return false;
            at += 2 + std::size_t(bytes[at]);
            continue;
        }
        const std::size_t length = (prefix & 3) == 3 ? 4 : prefix & 3;
        if (size - at < length)
            return false;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < length; ++i)
            value |= std::uint32_t(bytes[at + i]) << (8 * i);
        at += length;

        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (type == 0) { // main
            const std::uint64_t bits = std::uint64_t(globals.reportSize) * globals.reportCount;
            if (tag == 8)
                inputBits += bits;
            else if (tag == 9)
                outputBits += bits;
            if (inputBits > 1u << 20 || outputBits > 1u << 20)
                return false;
        } else if (type == 1) { // global
            switch (tag) {
            case 7:
                globals.reportSize = value;
                break;
            case 8:
                numbered = true;
                break;
            case 9:
                globals.reportCount = value;
                break;
            case 10:
                if (depth == MaxPushDepth)
                    return false;
                stack[depth++] = globals;
                break;
            case 11:
                if (depth == 0)
                    return false;
                globals = stack[--depth];
                break;
            default:
                break;
            }
        }
    }
    return !numbered && inputBits == 64 * 8 && outputBits == 64 * 8;
}

} // namespace quillodev
