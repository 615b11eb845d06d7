#pragma once

#include "skin/ThreadHandover.h"

#include <QEvent>

#include <cstdint>
#include <optional>

// A window message posted by the device library or a worker, delivered as a Qt event whose
// type is the message number (0x465..0x468 lie in Qt's user event range). The poster calls
// published() just before it posts; reading the message on the receiving side then counts,
// for ThreadSanitizer, as coming after everything the poster did before.
class PostedMessage : public QEvent {
public:
    PostedMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(QEvent::Type(message))
        , m_wParam(wParam)
        , m_lParam(lParam)
    {}

    void published() const { ThreadHandover::release(this); }

    unsigned int message() const
    {
        ThreadHandover::acquire(this);
        return unsigned(type());
    }
    std::uintptr_t wParam() const
    {
        ThreadHandover::acquire(this);
        return m_wParam;
    }
    std::intptr_t lParam() const
    {
        ThreadHandover::acquire(this);
        return m_lParam;
    }
    // When the keystroke of a hook message happened, on its source's millisecond clock.
    std::optional<std::uint32_t> eventTime() const
    {
        ThreadHandover::acquire(this);
        return m_eventTime;
    }
    void setEventTime(std::uint32_t timeMs) { m_eventTime = timeMs; }

private:
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
    std::optional<std::uint32_t> m_eventTime;
};
