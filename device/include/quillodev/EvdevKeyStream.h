#pragma once

#include "Export.h"
#include "KeyboardHook.h"

#include <cstdint>

// The key events of the machine's keyboards, one evdev event after another, as the Windows hook
// would see them: keeps which Alt keys are held, so that keys typed with Alt are system keys.
// The library's evdev hook and a window that records through its own keyboard grab both read
// keystrokes through it, so that both send the recording the same messages.
class QUILLODEV_EXPORT EvdevKeyStream {
public:
    // One EV_KEY event (value 0 up, 1 down, 2 repeat) at `timeMs`; false for codes without a
    // virtual key.
    bool translate(unsigned short code, int value, std::uint32_t timeMs, std::uintptr_t &message,
                   KeyboardEvent &event);
    // The HookKeyMessage parameters of one EV_KEY event, as KeyBoardProc posts them.
    bool hookMessage(unsigned short code, int value, std::uintptr_t &wParam, std::intptr_t &lParam);
    void reset();

private:
    bool m_leftAlt = false;
    bool m_rightAlt = false;
};
