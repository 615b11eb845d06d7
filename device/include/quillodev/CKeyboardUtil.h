#pragma once

#include "Export.h"

// One HID interface of the keyboard: 65-byte output reports out, 64-byte payloads in.
class QUILLODEV_EXPORT CKeyboardUtil {
public:
    // What the protocol waits for an answer: a keyboard that stops answering must not hold
    // the worker thread forever.
    static constexpr int ReadTimeoutMs = 5000;

    virtual ~CKeyboardUtil() = default;

    // Writes `length` bytes (report number 0 and the 64-byte payload).
    virtual bool writeReport(const unsigned char *report, unsigned int length) = 0;
    // Reads one input report and copies its payload (at most `length` bytes) to `buffer`.
    // Must give up with false once `timeoutMs` has passed without a report (negative: no
    // limit); the protocol passes ReadTimeoutMs.
    virtual bool readReport(unsigned char *buffer, unsigned int &length, int timeoutMs) = 0;

protected:
    CKeyboardUtil() = default;
    CKeyboardUtil(const CKeyboardUtil &) = delete;
    CKeyboardUtil &operator=(const CKeyboardUtil &) = delete;
};
