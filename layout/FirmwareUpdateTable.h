#pragma once

#include "layout/DrawnButton.h"

#include <cstdint>
#include <vector>

// The firmware update dialog's face: its table of drawn entries and the places of its two
// text fields, as plain data shared by the dialog and the skin generator. Rectangles are base
// pixels of the 370 x 250 face.
namespace FirmwareUpdateTable {

enum Id : int {
    CloseButton = 89,
    GetVersionButton = 90,
    OpenButton = 91,
    UpdateButton = 92,
    CancelButton = 93,
    FileLabel = 187,
    TitleLabel = 188,
    GetVersionLabel = 190,
    OpenLabel = 191,
    UpdateLabel = 192,
    CancelLabel = 193,
};

constexpr int EntryCount = 107;
constexpr int BaseWidth = 370;
constexpr int BaseHeight = 250;
constexpr std::uint32_t ColourKey = 0x0000FF;

// Edit control 1001, the version, and 1002, the chosen file.
constexpr ButtonRect VersionField{44, 78, 206, 96};
constexpr ButtonRect FileField{112, 116, 255, 135};
constexpr int FieldFontSize = 13;

constexpr ButtonRect BarArea{40, 150, 330, 172};
constexpr int BarWidth = 290;

std::vector<DrawnButton> build();

} // namespace FirmwareUpdateTable
