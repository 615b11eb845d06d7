#pragma once

#include <quillodev/EvdevKeyStream.h>

#include <cstdint>

// A keystroke as a window receives it from the window system, turned into the hook's own
// message (HookKeyMessage parameters), so that keys typed into a window are told apart exactly
// as the global hook tells them: keypad keys from the main block, the right-hand modifiers
// from the left, Enter from keypad Enter. On X11 and Wayland from the native scan code (the
// evdev code plus 8) through the device library's evdev table, on Windows from the virtual
// key and the scan code's extended flag.
struct WindowKeystroke {
    std::uint32_t scanCode = 0;
    std::uint32_t virtualKey = 0;
    bool release = false;
    bool repeat = false;
};

// False for keys the hook has no virtual key for. `stream` keeps which Alt keys are held.
bool windowKeyMessage(const WindowKeystroke &key, EvdevKeyStream &stream, std::uintptr_t &wParam,
                      std::intptr_t &lParam);
