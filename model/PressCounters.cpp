#include "model/PressCounters.h"

void PressCounters::updateExtremes()
{
    int highest = 1;
    int lowest = 1;
    for (int key = 2; key < int(counts.size()); ++key) {
        const int count = counts[std::size_t(key)];
        if (count > counts[std::size_t(highest)])
            highest = key;
        if (count > 0 && (count < counts[std::size_t(lowest)] || counts[std::size_t(lowest)] <= 0))
            lowest = key;
    }
    highestKey = counts[std::size_t(highest)] > 0 ? highest : -1;
    lowestKey = counts[std::size_t(lowest)] > 0 ? lowest : -1;
}
