#pragma once

#include <functional>

class QWidget;

// How long a window takes from the call that opens it to its first painted frame. `open` runs
// the code that opens a window and its modal loop; the first window that was not open before
// is timed to the end of its first paint (with its children, as the frame is flushed), then
// handed to `painted` (which may open a window of its own from it) and closed as Esc would
// close it. Returns seconds, or a negative number when no new window painted.
double secondsToFirstFrame(const std::function<void()> &open,
                           const std::function<void(QWidget &)> &painted = {});

// Shows `window` and runs the event loop until it has painted once (at most 10 s); false when
// it never did.
bool showAndPaint(QWidget &window);
