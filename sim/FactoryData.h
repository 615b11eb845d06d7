#pragma once

#include "sim/SimConstants.h"

#include <array>
#include <cstdint>

// What a keyboard holds when it leaves the factory, besides its key assignments.
namespace quillosim::FactoryData {

struct Rgb {
    int r, g, b;
};

// Key groups of the factory colour scheme, each a gradient from its first to its last key.
struct LightGroup {
    int firstKey, lastKey;
    Rgb from, to;
};

constexpr LightGroup lightGroups[] = {
    {1, 13, {255, 96, 32}, {255, 176, 32}},     // Esc and function row: orange to amber
    {14, 27, {255, 200, 40}, {160, 230, 60}},   // number row: amber to lime
    {28, 41, {40, 220, 160}, {40, 200, 230}},   // Tab row: teal to cyan
    {42, 54, {40, 170, 255}, {60, 120, 255}},   // Caps Lock row: sky to blue
    {55, 66, {90, 90, 255}, {140, 70, 255}},    // Shift row: blue to indigo
    {67, 74, {180, 60, 255}, {230, 60, 200}},   // bottom row: violet to magenta
    {75, 87, {255, 70, 140}, {255, 110, 110}},  // navigation block and arrows: rose
    {88, 91, {255, 255, 255}, {200, 200, 255}}, // media keys: white
    {92, 108, {60, 230, 120}, {40, 200, 200}},  // keypad: green to teal
};

constexpr std::array<std::uint8_t, LightAreaSize> makeLights()
{
    std::array<std::uint8_t, LightAreaSize> area{};
    for (const LightGroup &group : lightGroups) {
        const int span = group.lastKey - group.firstKey;
        for (int key = group.firstKey; key <= group.lastKey; ++key) {
            const int step = key - group.firstKey;
            const auto mix = [&](int a, int b) {
                return std::uint8_t(a + (b - a) * step / span);
            };
            const auto at = std::size_t(3 * (key - 1));
            area[at] = mix(group.from.r, group.to.r);
            area[at + 1] = mix(group.from.g, group.to.g);
            area[at + 2] = mix(group.from.b, group.to.b);
        }
    }
    return area;
}

constexpr std::array<std::uint8_t, LightAreaSize> lights = makeLights();

// Press counts of keys 1..108 after some months of English typing: letters follow their
// frequency in English text, Space leads, Pause is the rarest key.
constexpr std::array<std::uint32_t, KeyCount> counters = {
    412,                                                                  // Esc
    38,   95,   41,    27,    212,  33,   19,   14,   11,   16,   24, 57, // F1..F12
    46,                                                                   // `
    612,  541,  389,   322,   347,  258,  231,  266,  240,  498,          // 1..9, 0
    287,  176,  6843,                                                     // - = Backspace
    1187,                                                                 // Tab
    95,   2360, 12702, 5987,  9056, 1974, 2758, 6966, 7507, 1929,         // Q..P
    64,   61,   38,                                                       // [ ] \ (backslash)
    23,                                                                   // Caps Lock
    8167, 6327, 4253,  2228,  2015, 6094, 153,  772,  4025,               // A..L
    211,  905,  2318,                                                     // ; ' Enter
    3102,                                                                 // left Shift
    74,   150,  2782,  978,   1492, 6749, 2406,                           // Z..M
    1563, 1894, 142,   688,                                               // , . / right Shift
    1534, 87,   318,   18290, 29,   64,   6,    112, // LCtrl LWin LAlt Space RAlt Fn App RCtrl
    9,    4,    2,                                   // Print Screen, Scroll Lock, Pause
    13,   276,  351,   1043,  298,  402,             // Ins Home PgUp Del End PgDn
    1321, 1675, 1409,  1588,                         // Up Left Down Right
    21,   73,   81,    7,                            // Mute, Volume-, Volume+, programming key
    5,    17,   22,    36,                           // Num Lock, keypad / * -
    44,   51,   47,    58,    55,   49,   42,   68,   61,   52,   79, 31,
    97, // keypad 7 8 9 + 4 5 6 1 2 3 0 . Enter
};

// A short list would leave keys at zero and make "least used" meaningless.
constexpr bool everyKeyPressed()
{
    for (std::uint32_t count : counters) {
        if (count == 0)
            return false;
    }
    return true;
}
static_assert(everyKeyPressed());

constexpr char version[] = "V1.0";

} // namespace quillosim::FactoryData
