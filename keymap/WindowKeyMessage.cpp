#include "keymap/WindowKeyMessage.h"

namespace {

// X11 and Wayland give the evdev code plus 8 as the native scan code.
constexpr std::uint32_t EvdevOffset = 8;

} // namespace

bool windowKeyMessage(const WindowKeystroke &key, EvdevKeyStream &stream, std::uintptr_t &wParam,
                      std::intptr_t &lParam)
{
    wParam = 0;
    lParam = 0;
#if defined(_WIN32)
    (void)stream;
    // Windows gives the virtual key, and the extended flag as bit 8 of the scan code.
    if (key.virtualKey == 0)
        return false;
    wParam = (key.virtualKey & 0xFF) | (key.release ? 0x80000000u : 0);
    lParam = (key.scanCode & 0x100) ? std::intptr_t(1) << 24 : 0;
    return true;
#else
    (void)key.virtualKey;
    if (key.scanCode < EvdevOffset || key.scanCode - EvdevOffset > 0xFFFF)
        return false;
    const int value = key.release ? 0 : key.repeat ? 2 : 1;
    return stream.hookMessage(static_cast<unsigned short>(key.scanCode - EvdevOffset), value,
                              wParam, lParam);
#endif
}
