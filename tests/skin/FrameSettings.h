#pragma once

#include <string>

// The two values of the program's state a frame reads, as a test sets them.
struct FrameSettings {
    std::string language;
    float scaleFactor = 0.0f;
};
