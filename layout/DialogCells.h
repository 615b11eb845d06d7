#pragma once

#include "layout/DrawnButton.h"

#include <span>
#include <vector>

// One entry of a small dialog's table as data: a button (no caption drawn) or a label.
struct DialogCell {
    int id;
    bool isLabel;
    const char *zh;
    const char *en;
    ButtonRect rect;
};

namespace DialogCells {

// The table of `size` entries: the cells in order, captions in both languages and the
// placeholder tooltip "tip" under zh-CN, then empty slots.
std::vector<DrawnButton> build(std::span<const DialogCell> cells, int size);

} // namespace DialogCells
