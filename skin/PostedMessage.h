#pragma once

#include <QEvent>

#include <cstdint>
#include <optional>

// A window message posted by the device library or a worker, delivered as a Qt event whose
// type is the message number (0x465..0x468 lie in Qt's user event range).
class PostedMessage : public QEvent {
public:
    PostedMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(QEvent::Type(message))
        , m_wParam(wParam)
        , m_lParam(lParam)
    {}

    unsigned int message() const { return unsigned(type()); }
    std::uintptr_t wParam() const { return m_wParam; }
    std::intptr_t lParam() const { return m_lParam; }
    // When the keystroke of a hook message happened, on its source's millisecond clock.
    std::optional<std::uint32_t> eventTime() const { return m_eventTime; }
    void setEventTime(std::uint32_t timeMs) { m_eventTime = timeMs; }

private:
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
    std::optional<std::uint32_t> m_eventTime;
};
