#pragma once

#include "layout/DrawnButton.h"

#include <cstdint>
#include <vector>

// The virtual keyboard's face: a 104-key keyboard on which keys are picked with the mouse, as
// plain data shared by the dialog and the skin generator. Rectangles are base pixels of the
// 930 x 350 face. Key entries carry their device code in keyIndex.
namespace VirtualKeyboardTable {

constexpr int EntryCount = 110;
constexpr int BaseWidth = 930;
constexpr int BaseHeight = 350;
constexpr std::uint32_t ColourKey = 0xFF0000;

enum Id : int {
    CloseMark = 88, // also the title label's id
    OkButton = 89,
    CancelButton = 90,
    FirstKey = 100, // 99 + the key's position on the main window
    LastKey = 207,
};

// Where the text of the pick sits (edit control 1001), base pixels, and its font.
constexpr ButtonRect PickTextArea{20, 305, 520, 337};
constexpr int PickTextFontSize = 15;
constexpr int TitleFontSize = 17;

// All 110 entries in table order: close, OK, Cancel, their labels, then the 104 keys.
std::vector<DrawnButton> build();

constexpr bool isKey(int id)
{
    return id >= FirstKey && id <= LastKey;
}

} // namespace VirtualKeyboardTable
