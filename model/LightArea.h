#pragma once

#include "model/LightSettings.h"

#include <array>

// The keyboard's image of the backlight: red, green and blue of keys 1..108 in key order.
namespace LightArea {

constexpr int Size = 324;
using Values = std::array<int, Size>;

// Colour parts outside 0..255 are clamped, so that they do not wrap on the way.
Values fromSettings(const LightSettings &settings);
// Entry 0 of `settings` is left alone; values are clamped to 0..255.
void toSettings(const Values &values, LightSettings &settings);

} // namespace LightArea
