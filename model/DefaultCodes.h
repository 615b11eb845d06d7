#pragma once

#include <quillodev/KeyCounts.h>

#include <array>
#include <cstdint>

// Factory assignment of every key of the four variants, as data shared by the catalogue and the
// keyboard emulator. Byte [key * 2 + layer] is the default device code (0: nothing).
namespace DefaultCodes {

constexpr int TableSize = 224;
using Table = std::array<std::uint8_t, TableSize>;

struct FnDefault {
    std::uint8_t key;
    std::uint8_t code;
    bool onVariant[4]; // variants 1..4
};

// Fn-layer defaults; keys not listed carry nothing on the Fn layer.
constexpr FnDefault fnLayer[] = {
    {1, 150, {true, true, false, false}},  // Keyboard Lock
    {10, 151, {true, true, true, true}},   // Adjust Trigger Point
    {11, 135, {true, false, false, true}}, // Backlight Switch
    {14, 136, {true, false, false, true}}, // Backlight Macro
    {15, 148, {true, false, false, true}}, // Back Color Exchange
    {16, 138, {true, false, false, true}}, // Effect Color Exchange
    {17, 137, {true, false, false, true}}, // Lamp Effect
    {18, 139, {true, false, false, true}}, // Effect Exit
    {25, 142, {true, false, false, true}}, // Frequence-
    {26, 143, {true, false, false, true}}, // Frequence+
    {67, 152, {true, true, true, true}},   // Ctrl&Caps Exchange
    {68, 153, {true, true, true, true}},   // Win Lock
    {69, 155, {true, true, true, true}},   // Win/Mac Exchange
    {72, 156, {true, true, true, true}},   // FN
    {78, 167, {true, true, false, false}}, // Wire&Wireless Exchange
    {81, 168, {true, true, false, false}}, // BTD1
    {82, 169, {true, true, false, false}}, // BTD2
    {83, 170, {true, true, false, false}}, // BTD3
    {84, 145, {true, true, true, true}},   // Backlight Lightness+
    {85, 146, {true, false, false, true}}, // Direction Left
    {86, 144, {true, true, true, true}},   // Backlight Lightness-
    {87, 147, {true, false, false, true}}, // Direction Right
    {88, 111, {true, true, true, true}},   // Play/Pause
    {89, 109, {true, true, true, true}},   // Previous track
    {90, 108, {true, true, true, true}},   // Next track
    {91, 110, {true, true, true, true}},   // Stop
};

// Top layer, identical on every variant.
constexpr std::uint8_t topLayerCode(int key)
{
    if (key >= 1 && key <= 71)
        return std::uint8_t(key);
    if (key >= 75 && key <= 87)
        return std::uint8_t(key + 3);
    switch (key) {
    case 72:
        return 156; // FN
    case 73:
        return 73; // App
    case 74:
        return 74; // RCTRL
    case 88:
        return 112; // Mute
    case 89:
        return 114; // VolumeDown
    case 90:
        return 113; // VolumeUp
    case 91:
        return 159; // Programmable Keyboard
    case 92:
        return 91; // NUM LOCK
    case 93:
        return 92; // (/)
    case 94:
        return 93; // (*)
    case 95:
        return 105; // (-)
    case 96:
        return 94; // (7)
    case 97:
        return 95; // (8)
    case 98:
        return 96; // (9)
    case 99:
        return 106; // (+)
    case 100:
        return 97; // (4)
    case 101:
        return 98; // (5)
    case 102:
        return 99; // (6)
    case 103:
        return 100; // (1)
    case 104:
        return 101; // (2)
    case 105:
        return 102; // (3)
    case 106:
        return 103; // (0)
    case 107:
        return 104; // (.)
    case 108:
        return 107; // (Enter)
    default:
        return 0;
    }
}

constexpr Table makeTable(int variant)
{
    Table table{};
    for (int key = 1; key <= quillodev::KeyCount; ++key)
        table[std::size_t(key * 2)] = topLayerCode(key);
    for (const FnDefault &fn : fnLayer) {
        if (fn.onVariant[variant - 1])
            table[std::size_t(fn.key * 2 + 1)] = fn.code;
    }
    return table;
}

// Indexed by variant 1..4; every other variant uses the table of variant 1.
constexpr std::array<Table, 4> tables = {makeTable(1), makeTable(2), makeTable(3), makeTable(4)};

constexpr const Table &forVariant(int variant)
{
    return variant >= 1 && variant <= 4 ? tables[std::size_t(variant - 1)] : tables[0];
}

constexpr int code(int variant, int key, int layer)
{
    const int i = key * 2 + layer;
    return i >= 0 && i < quillodev::EntryArraySize ? forVariant(variant)[std::size_t(i)] : 0;
}

} // namespace DefaultCodes
