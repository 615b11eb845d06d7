#pragma once

#include <quillodev/KeyCounts.h>

#include <array>

struct LightColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const LightColour &) const = default;
};

// Entry k (1..108) is the colour of key k; entry 0 is not a key.
using LightSettings = std::array<LightColour, quillodev::KeyArraySize>;
