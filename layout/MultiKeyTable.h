#pragma once

#include "layout/DrawnButton.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The multi-key colour dialog's face: the backlight dialog's keyboard with a Set Color button
// in place of the row of buttons, as plain data shared by the dialog and the skin generator.
// Rectangles are base pixels of the 1250 x 470 face.
namespace MultiKeyTable {

constexpr int EntryCount = 114;
constexpr int BaseWidth = 1250;
constexpr int BaseHeight = 470;
constexpr std::uint32_t ColourKey = 0xFF0301;

enum Id : int {
    CloseButton = 88, // also the title label's id
    SetColorButton = 97,
    FirstKey = 100, // 99 + the key number
    LastKey = 207,
};

constexpr std::size_t FirstKeySlot = 4;

// Where the dialog tells what to do and how many keys are chosen: the strip the backlight
// dialog gives its buttons, base pixels.
constexpr ButtonRect HintArea{150, 424, 1100, 450};

// All 114 entries in table order: close, Set Color, their labels, the 108 keys (with an empty
// slot after key 89) and an empty last slot.
std::vector<DrawnButton> build();

constexpr bool isKey(int id)
{
    return id >= FirstKey && id <= LastKey;
}

} // namespace MultiKeyTable
