#pragma once

#include "model/ActionList.h"
#include "model/KeyAssignment.h"
#include "model/LightSettings.h"

#include <quillodev/KeyCounts.h>

#include <array>

// The whole editable configuration, as a profile file stores it, the device jobs transfer it
// and undo steps through it: the three predefined lists, the backlight colours and the
// assignment of every key on both layers. A plain value: copies are independent (their lists
// share storage until one of them changes, which copies it first).
struct Configuration {
    static constexpr int KeyCount = quillodev::KeyCount;
    static constexpr int EntryCount = quillodev::EntryArraySize;
    // Per-key arrays are indexed key * 2 + layer; entries 0 and 1 are unused.
    static constexpr int index(int key, int layer) { return key * 2 + layer; }

    ActionList predefinedMacros{9};
    ActionList predefinedCombos{6};
    ActionList predefinedEmulations{9};
    LightSettings lightSettings{};
    std::array<int, EntryCount> category{};
    std::array<int, EntryCount> code{};
    std::array<ActionList, EntryCount> action{};

    // One key's assignment gathered from the three arrays, and stored back into them. Keys
    // outside 1..108 or layers other than 0 and 1 read as not set and are not stored.
    KeyAssignment assignment(int key, int layer) const;
    void setAssignment(int key, int layer, const KeyAssignment &value);

    // Factory defaults of a variant for keys, lists and lights.
    void reset(int deviceType);
};
