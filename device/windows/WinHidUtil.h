#pragma once

#include <quillodev/CNuboUtil.h>

#include <windows.h>

namespace quillodev {

// Report I/O on an open HID interface. The handle is opened for overlapped I/O only so that a
// read can give up after its timeout; every operation still completes before it returns.
class WinHidUtil : public CNuboUtil {
public:
    // INVALID_HANDLE_VALUE stands for an interface that could not be opened.
    explicit WinHidUtil(HANDLE handle);
    ~WinHidUtil() override;

    bool writeReport(const unsigned char *report, unsigned int length) override;
    bool readReport(unsigned char *buffer, unsigned int &length, int timeoutMs) override;

private:
    // Waits for a started operation; cancels it when the time is up. Bytes moved, or -1.
    long finish(OVERLAPPED &overlapped, BOOL started, int timeoutMs);

    HANDLE m_handle;
};

} // namespace quillodev
