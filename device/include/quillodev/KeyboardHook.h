#pragma once

#include "Export.h"
#include "MessageTarget.h"

#include <cstdint>

// The platform's low-level keyboard event record.
struct KeyboardEvent {
    std::uint32_t vkCode;
    std::uint32_t scanCode;
    std::uint32_t flags;
    std::uint32_t time;
    std::uintptr_t extraInfo;
};

QUILLODEV_EXPORT bool InstallHook(WindowHandle window);
QUILLODEV_EXPORT bool UninstallHook();
QUILLODEV_EXPORT std::intptr_t KeyBoardProc(int code, std::uintptr_t message, std::intptr_t event);

// Translates one evdev key event (EV_KEY code and value 0 up, 1 down, 2 repeat) into the
// message and event record the Windows hook would see. False for codes without a virtual key.
QUILLODEV_EXPORT bool keyboardEventFromEvdev(unsigned short code, int value, bool altDown,
                                             std::uintptr_t &message, KeyboardEvent &event);
