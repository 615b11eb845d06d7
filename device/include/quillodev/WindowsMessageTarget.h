#pragma once

#if defined(_WIN32)

#include "MessageTarget.h"

#include <windows.h>

namespace quillodev {

// Delivers the library's messages to a native window as posted window messages.
class WindowsMessageTarget : public MessageTarget {
public:
    explicit WindowsMessageTarget(HWND window)
        : m_window(window)
    {}
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        PostMessageW(m_window, message, WPARAM(wParam), LPARAM(lParam));
    }

private:
    HWND m_window;
};

} // namespace quillodev

#endif
