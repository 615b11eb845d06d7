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

// Sends every keystroke of the machine to `window` as HookKeyMessage and keeps it from acting
// anywhere else, until UninstallHook. On Linux the keyboards are grabbed through evdev and the
// messages are posted from the library's reader thread; false there when no keyboard device
// could be opened (the caller then records inside its own window). Installing again only
// changes the window. A null window is stored but installs nothing.
QUILLODEV_EXPORT bool InstallHook(WindowHandle window);
QUILLODEV_EXPORT bool UninstallHook();
// The hook procedure: posts the event at address `event` to the window of the last InstallHook,
// with the event's time, and returns 1 (consumed). `message` is 0x100 key down, 0x101 up,
// 0x104/0x105 the system variants.
QUILLODEV_EXPORT std::intptr_t KeyBoardProc(int code, std::uintptr_t message, std::intptr_t event);
// The HookKeyMessage parameters KeyBoardProc posts for one event: wParam the virtual key with
// bit 31 for a release and bit 30 for a system key, lParam bit 24 for an extended key.
QUILLODEV_EXPORT void hookMessageOf(std::uintptr_t message, const KeyboardEvent &event,
                                    std::uintptr_t &wParam, std::intptr_t &lParam);

// Translates one evdev key event (EV_KEY code and value 0 up, 1 down, 2 repeat) into the
// message and event record the Windows hook would see. `altDown` tells whether an Alt key other
// than this event's own is held. False for codes without a virtual key.
QUILLODEV_EXPORT bool keyboardEventFromEvdev(unsigned short code, int value, bool altDown,
                                             std::uintptr_t &message, KeyboardEvent &event);
