#pragma once

#include "layout/DrawnButton.h"

#include <cstdint>
#include <vector>

// The progress dialog's face: its table of drawn entries as plain data, shared by the dialog
// and the skin generator. Rectangles are base pixels of the 370 x 250 face.
namespace ProgressTable {

enum Id : int {
    CloseButton = 89,
    CancelButton = 93,
    MessageLabel = 187,
    TitleLabel = 188,
    CancelLabel = 193,
};

constexpr int EntryCount = 107;
constexpr int BaseWidth = 370;
constexpr int BaseHeight = 250;
constexpr std::uint32_t ColourKey = 0x0000FF;

// The bar, copied from the checked image as far as the progress reaches.
constexpr ButtonRect BarArea{40, 150, 330, 172};
constexpr int BarWidth = 290;

std::vector<DrawnButton> build();

} // namespace ProgressTable
