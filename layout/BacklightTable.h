#pragma once

#include "layout/DrawnButton.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The backlight settings dialog's face: its table of drawn entries as plain data, shared by
// the dialog and the skin generator. Rectangles are base pixels of the 1250 x 470 face; the
// key legends are part of the face, so key entries draw no text.
namespace BacklightTable {

constexpr int EntryCount = 126;
constexpr int BaseWidth = 1250;
constexpr int BaseHeight = 470;
constexpr std::uint32_t ColourKey = 0xFF0301;

enum Id : int {
    CloseButton = 88, // also the title label's id
    ReadButton = 89,
    DefaultButton = 90,
    WriteButton = 91,
    CancelButton = 92,
    OkButton = 94,
    SetAllButton = 95,
    MultiKeyButton = 97,
    FirstKey = 100, // 99 + the key number
    LastKey = 207,
};

// Where the dialog tells what a click on a key does: between the title and the keyboard,
// base pixels.
constexpr ButtonRect HintArea{150, 52, 1100, 80};

// Where the key entries begin in this dialog's table.
constexpr std::size_t FirstKeySlot = 16;

// All 126 entries in table order: the eight image buttons, their eight labels, the 108 keys
// (with an empty slot after key 89) and an empty last slot.
std::vector<DrawnButton> build();

// Writes the 108 key entries, in key-number order with an empty slot after key 89, from
// `first` on; `table` must hold 109 slots from there. Both lighting dialogs share them.
void placeKeys(std::vector<DrawnButton> &table, std::size_t first);

// The rectangle of key 1..108 in base pixels (empty for any other number).
ButtonRect keyRect(int key);

constexpr bool isKey(int id)
{
    return id >= FirstKey && id <= LastKey;
}

} // namespace BacklightTable
