#include <quillodev/KeyboardHook.h>

#include "device/src/HookData.h"

namespace quillodev {

HookData &hookData()
{
    static HookData data;
    return data;
}

} // namespace quillodev

namespace {

constexpr std::uintptr_t KeyDown = 0x100;
constexpr std::uintptr_t KeyUp = 0x101;
constexpr std::uintptr_t SysKeyDown = 0x104;
constexpr std::uintptr_t SysKeyUp = 0x105;
constexpr std::uintptr_t ReleaseBit = 0x80000000u;
constexpr std::uintptr_t SystemBit = 0x40000000u;
constexpr std::uint32_t ExtendedFlag = 0x01;

} // namespace

void hookMessageOf(std::uintptr_t message, const KeyboardEvent &event, std::uintptr_t &wParam,
                   std::intptr_t &lParam)
{
    std::uintptr_t value = event.vkCode & 0xFF;
    switch (message) {
    case KeyUp:
        value |= ReleaseBit;
        break;
    case SysKeyDown:
        value |= SystemBit;
        break;
    case SysKeyUp:
        value |= ReleaseBit | SystemBit;
        break;
    case KeyDown:
    default:
        break;
    }
    wParam = value;
    lParam = (event.flags & ExtendedFlag) ? std::intptr_t(1) << 24 : 0;
}

std::intptr_t KeyBoardProc(int, std::uintptr_t message, std::intptr_t event)
{
    const auto *record = reinterpret_cast<const KeyboardEvent *>(event);
    if (!record)
        return 1;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    hookMessageOf(message, *record, wParam, lParam);
    postTimedTo(quillodev::hookData().window.load(), quillodev::HookKeyMessage, wParam, lParam,
                record->time);
    // Consumed: while recording, keystrokes act on nothing else.
    return 1;
}
