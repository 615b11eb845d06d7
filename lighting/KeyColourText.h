#pragma once

#include "model/LightSettings.h"

#include <string>

// A key's backlight colour as a screen reader says it: "Colour #FF8000 (red 255, green 128,
// blue 0)", or the same in Chinese.
std::string keyColourText(const LightColour &colour, bool chinese);
