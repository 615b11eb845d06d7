#include "lighting/KeyColourText.h"

#include <algorithm>
#include <cstdio>

std::string keyColourText(const LightColour &colour, bool chinese)
{
    // Values from a file or the keyboard may lie outside 0..255; they are said as stored.
    const auto byte = [](int value) {
        return std::clamp(value, 0, 255);
    };
    char text[96];
    std::snprintf(text, sizeof text,
                  chinese ? "颜色 #%02X%02X%02X（红 %d，绿 %d，蓝 %d）"
                          : "Colour #%02X%02X%02X (red %d, green %d, blue %d)",
                  unsigned(byte(colour.red)), unsigned(byte(colour.green)),
                  unsigned(byte(colour.blue)), colour.red, colour.green, colour.blue);
    return text;
}
