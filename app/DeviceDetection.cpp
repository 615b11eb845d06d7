#include "app/DeviceDetection.h"

int DeviceDetection::detectWithRetries(const std::function<int()> &detect,
                                       const std::function<void(int)> &sleepMs)
{
    int type = detect();
    // Waiting before each retry rather than after it: a keyboard found needs no further sleep.
    for (int retry = 0; type == 0 && retry < Retries; ++retry) {
        sleepMs(RetryDelayMs);
        type = detect();
    }
    return type;
}
