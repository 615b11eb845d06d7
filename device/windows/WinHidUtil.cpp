#include "device/windows/WinHidUtil.h"

#include <algorithm>
#include <cstring>

namespace quillodev {

namespace {

// Writes have no timeout argument; a keyboard that takes no report for this long is gone.
constexpr int WriteTimeoutMs = 5000;

class Event {
public:
    Event()
        : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {}
    ~Event()
    {
        if (m_event)
            CloseHandle(m_event);
    }
    Event(const Event &) = delete;
    Event &operator=(const Event &) = delete;
    HANDLE get() const { return m_event; }

private:
    HANDLE m_event;
};

} // namespace

WinHidUtil::WinHidUtil(HANDLE handle)
    : m_handle(handle)
{}

WinHidUtil::~WinHidUtil()
{
    if (m_handle && m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
}

long WinHidUtil::finish(OVERLAPPED &overlapped, BOOL started, int timeoutMs)
{
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return -1;
    const DWORD wait = timeoutMs < 0 ? INFINITE : DWORD(timeoutMs);
    if (WaitForSingleObject(overlapped.hEvent, wait) != WAIT_OBJECT_0) {
        CancelIoEx(m_handle, &overlapped);
        DWORD ignored = 0;
        // The buffer must outlive the cancelled operation.
        GetOverlappedResult(m_handle, &overlapped, &ignored, TRUE);
        return -1;
    }
    DWORD moved = 0;
    if (!GetOverlappedResult(m_handle, &overlapped, &moved, FALSE))
        return -1;
    return long(moved);
}

bool WinHidUtil::writeReport(const unsigned char *report, unsigned int length)
{
    if (m_handle == INVALID_HANDLE_VALUE || !m_handle || !report)
        return false;
    Event event;
    if (!event.get())
        return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    const BOOL started = WriteFile(m_handle, report, length, nullptr, &overlapped);
    return finish(overlapped, started, WriteTimeoutMs) == long(length);
}

bool WinHidUtil::readReport(unsigned char *buffer, unsigned int &length, int timeoutMs)
{
    if (m_handle == INVALID_HANDLE_VALUE || !m_handle || !buffer)
        return false;
    Event event;
    if (!event.get())
        return false;
    unsigned char report[65] = {};
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    const BOOL started = ReadFile(m_handle, report, sizeof report, nullptr, &overlapped);
    const long received = finish(overlapped, started, timeoutMs);
    if (received <= 0)
        return false;
    // Byte 0 is the report number.
    const unsigned int copied = std::min(length, static_cast<unsigned int>(received - 1));
    std::memcpy(buffer, report + 1, copied);
    std::memset(buffer + copied, 0, length - copied);
    length = copied;
    return true;
}

} // namespace quillodev
