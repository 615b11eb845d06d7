#pragma once

#include "sim/SimConstants.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillosim {

// What the keyboard keeps in its flash: the key definition records exactly as received, the
// light area, the press counters and the version text.
struct KeyboardMemory {
    int variant = 1;
    // One record per slot as its bytes came in (64 per block); empty: the slot holds nothing.
    std::array<Report, SlotCount> records;
    std::array<std::uint8_t, LightAreaSize> lights{};
    std::array<std::uint32_t, KeyCount> counters{};
    std::string version;

    // The state of a new keyboard of variant 1..4.
    static KeyboardMemory factory(int variant);
    // The empty normal record the keyboard sends for a slot that holds nothing.
    static Report emptyRecord(int slot);
};

} // namespace quillosim
