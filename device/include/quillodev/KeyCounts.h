#pragma once

// How many keys the keyboard has, and the sizes of the arrays that follow from it.
namespace quillodev {

// Keys are numbered 1..KeyCount in the factory layout order.
constexpr int KeyCount = 108;
// The definition table: slot layer * KeyCount + key - 1 (layer 0 or 1), the top layer first.
constexpr int SlotCount = 2 * KeyCount;
// Arrays indexed by key number; entry 0 is not a key.
constexpr int KeyArraySize = KeyCount + 1;
// Arrays indexed key * 2 + layer; entries 0 and 1 are not a key.
constexpr int EntryArraySize = 2 * KeyArraySize;

} // namespace quillodev
