#pragma once

#include "layout/DrawnButton.h"

#include <span>

// Where a caption may be drawn. A centred label lying over a button carries that button's text
// (the faces draw the button, the label its words): the words keep clear of the button's rim,
// so they are fitted into the button's inside, not into the label's rectangle, which often
// reaches the button's edges. Other labels, and buttons that draw their own text, keep their
// rectangles.
namespace CaptionPlace {

// Base pixels kept free between a button's edge and its caption, on the left and on the right:
// the faces' rims lie 2 to 3 pixels in from the edge.
constexpr int RimClearance = 5;

// The button whose text label `index` carries, as an index into `table`, or -1. Rectangles of
// both in the same pixels (base pixels, as the layout tables are written).
int buttonOf(std::span<const DrawnButton> table, std::size_t index);

// The place of entry `index`'s caption in the pixels of the table's rectangles.
ButtonRect of(std::span<const DrawnButton> table, std::size_t index);

} // namespace CaptionPlace
