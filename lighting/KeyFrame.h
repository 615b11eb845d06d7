#pragma once

#include "layout/DrawnButton.h"

#include <array>

// The frame that shows a key's backlight colour in the lighting dialogs: four bars about two
// base pixels wide just outside the key.
namespace KeyFrame {

// The left, right, top and bottom bar in base pixels (right and bottom exclusive), from the
// key's rectangle in client pixels and the client pixels per base pixel. Each edge is worked
// out in floating point and truncated only at the end, so that the frame sits where the
// stretched face shows the key at any scale.
std::array<ButtonRect, 4> bars(const ButtonRect &client, float scale);

} // namespace KeyFrame
