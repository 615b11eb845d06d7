#pragma once

#include "layout/KeySettingsTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KeySettingsCodes {
struct CodeButton;
}

namespace KeySettingsTable {

// Text formats of a caption.
constexpr std::uint32_t Left = 0;
constexpr std::uint32_t Centred = 1;
constexpr std::uint32_t VerticalCentre = 4;
constexpr std::uint32_t Bottom = 8;
constexpr std::uint32_t WordBreak = 0x10;

// One entry of the table as data.
struct Cell {
    int id;
    Kind kind;
    ButtonRect rect;
    const char *zh;
    const char *en;
    std::uint32_t format = Centred;
};

// Fills the table's slots in order: single entries, rows of lists, and the code pages.
class Filler {
public:
    explicit Filler(std::vector<DrawnButton> &table)
        : m_table(table)
    {}

    DrawnButton &add(int id, const ButtonRect &rect, const char *zh, const char *en);
    void add(const Cell &cell);
    template<std::size_t N>
    void add(const Cell (&cells)[N])
    {
        for (const Cell &cell : cells)
            add(cell);
    }
    void skip() { ++m_slot; }

    // `count` rows of a list from `firstId` on, `pitch` apart.
    void addRows(int firstId, int count, int left, int top, int right, int pitch, int height);
    // Media buttons in two rows: the player's eight, then the browser's ten.
    void addMediaPage();
    // Two columns of rows, each a button with a label of its own over it.
    void addMousePage();
    // Four rows of caps (ids 601.., 610.., 620.., 630..), each at the place of its id: the
    // hover and checked faces of the page are the same for every keyboard. Buttons a keyboard
    // lacks leave their slots empty.
    void addFunctionPage(int deviceType);
    void addPowerPage();

private:
    void addCodeButton(const KeySettingsCodes::CodeButton &button, const ButtonRect &rect);

    std::vector<DrawnButton> &m_table;
    std::size_t m_slot = 0;
};

} // namespace KeySettingsTable
