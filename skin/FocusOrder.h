#pragma once

#include "layout/DrawnButton.h"

#include <span>
#include <vector>

// Geometry of keyboard focus over a face, shared by the Tab order, the arrow keys and the
// accessible tree: reading order of rectangles and the nearest rectangle in a direction.
namespace FocusOrder {

enum class Direction { Left, Right, Up, Down };

// Indices of the rectangles in reading order: lines from the top, each from the left. A
// rectangle joins the line of the topmost one not yet placed when its top lies above that
// one's vertical centre, so that a tall button beside a row of short ones reads with the row.
std::vector<int> readingOrder(std::span<const ButtonRect> rects);

// The rectangle the arrow key moves to from rects[from], or -1. Those in line (their span
// across the direction holds from's centre, edges included) come first, the nearest along the
// direction; then those within 45 degrees of it, then the rest ahead, the nearest counting
// distance across the direction double. Of equals the one read first wins.
int neighbour(std::span<const ButtonRect> rects, int from, Direction direction);

// The smallest rectangle holding all of them; an empty span gives the default rectangle.
ButtonRect bounds(std::span<const ButtonRect> rects);

} // namespace FocusOrder
