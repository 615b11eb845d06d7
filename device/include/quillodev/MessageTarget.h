#pragma once

#include <cstdint>

// Where the library and the program's workers post their messages. In the program a target
// turns each post into a Qt event whose type is the message number. Posts come from worker
// threads and, on Linux, from the keyboard hook's reader thread, so post() must be thread-safe and
// must not wait for the receiving thread.
struct MessageTarget {
    virtual ~MessageTarget() = default;
    virtual void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // A keystroke's message with the moment the keystroke happened, in milliseconds of the
    // source's own clock (wrapping at 2^32), so that the receiver measures the time between
    // keystrokes rather than between their arrivals. Targets that carry no time post plainly.
    virtual void postTimed(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::uint32_t /*timeMs*/)
    {
        post(message, wParam, lParam);
    }
};

using WindowHandle = MessageTarget *; // null: post nothing

namespace quillodev {

constexpr unsigned int TrayCallbackMessage = 0x465;
constexpr unsigned int HookKeyMessage = 0x466;
constexpr unsigned int DeviceMessageProgress = 0x467;
constexpr unsigned int DeviceMessageDone = 0x468;

// The firmware download posts progress from 0 to this; a job that makes a single step posts it
// once. Key definition transfers count their slots instead.
constexpr int ProgressScale = 150;

} // namespace quillodev

// Posts when the target is not null.
inline void postTo(WindowHandle window, unsigned int message, std::uintptr_t wParam,
                   std::intptr_t lParam)
{
    if (window)
        window->post(message, wParam, lParam);
}

inline void postTimedTo(WindowHandle window, unsigned int message, std::uintptr_t wParam,
                        std::intptr_t lParam, std::uint32_t timeMs)
{
    if (window)
        window->postTimed(message, wParam, lParam, timeMs);
}
