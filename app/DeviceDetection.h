#pragma once

#include <functional>

// Start-up detection of the attached variant: a missing keyboard is looked for again once a
// second, up to 11 more times, so one plugged in meanwhile is still found.
class DeviceDetection {
public:
    static constexpr int Retries = 11;
    static constexpr int RetryDelayMs = 1000;

    // `detect` returns the variant 1..4 or 0; `sleepMs` waits. Returns the last detected value.
    static int detectWithRetries(const std::function<int()> &detect,
                                 const std::function<void(int)> &sleepMs);
};
