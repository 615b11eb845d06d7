#pragma once

#include <quillodev/KeyCounts.h>

#include <array>

// The press count of every key as last read from the keyboard.
struct PressCounters {
    static constexpr int NotRead = -926365496;       // all four bytes 0xC8
    std::array<int, quillodev::KeyArraySize> counts; // index = key number; negative: not read
    int highestKey = -1;
    int lowestKey = -1;

    PressCounters() { reset(); }
    void reset()
    {
        counts.fill(NotRead);
        highestKey = lowestKey = -1;
    }
    // Finds the most and the least pressed key among those pressed at all; ties go to the
    // smaller key number, and -1 means no key was pressed.
    void updateExtremes();
};
