#include <quillodev/KeyboardHook.h>

#include <algorithm>
#include <array>

namespace {

struct EvdevKey {
    unsigned short code; // evdev KEY_* code
    unsigned char vk;    // Windows virtual-key code
    unsigned char scan;  // set 1 make code, without the E0 prefix
    bool extended;       // the keys Windows flags as extended
};

// Sorted by evdev code.
constexpr std::array<EvdevKey, 149> Keys = {{
    {1, 0x1B, 0x01, false},  // Esc
    {2, 0x31, 0x02, false},  // 1
    {3, 0x32, 0x03, false},  // 2
    {4, 0x33, 0x04, false},  // 3
    {5, 0x34, 0x05, false},  // 4
    {6, 0x35, 0x06, false},  // 5
    {7, 0x36, 0x07, false},  // 6
    {8, 0x37, 0x08, false},  // 7
    {9, 0x38, 0x09, false},  // 8
    {10, 0x39, 0x0A, false}, // 9
    {11, 0x30, 0x0B, false}, // 0
    {12, 0xBD, 0x0C, false}, // -
    {13, 0xBB, 0x0D, false}, // =
    {14, 0x08, 0x0E, false}, // Backspace
    {15, 0x09, 0x0F, false}, // Tab
    {16, 'Q', 0x10, false},   {17, 'W', 0x11, false},   {18, 'E', 0x12, false},
    {19, 'R', 0x13, false},   {20, 'T', 0x14, false},   {21, 'Y', 0x15, false},
    {22, 'U', 0x16, false},   {23, 'I', 0x17, false},   {24, 'O', 0x18, false},
    {25, 'P', 0x19, false},   {26, 0xDB, 0x1A, false}, // [
    {27, 0xDD, 0x1B, false},                           // ]
    {28, 0x0D, 0x1C, false},                           // Enter
    {29, 0xA2, 0x1D, false},                           // left Ctrl
    {30, 'A', 0x1E, false},   {31, 'S', 0x1F, false},   {32, 'D', 0x20, false},
    {33, 'F', 0x21, false},   {34, 'G', 0x22, false},   {35, 'H', 0x23, false},
    {36, 'J', 0x24, false},   {37, 'K', 0x25, false},   {38, 'L', 0x26, false},
    {39, 0xBA, 0x27, false}, // ;
    {40, 0xDE, 0x28, false}, // '
    {41, 0xC0, 0x29, false}, // `
    {42, 0xA0, 0x2A, false}, // left Shift
    {43, 0xDC, 0x2B, false}, // backslash
    {44, 'Z', 0x2C, false},   {45, 'X', 0x2D, false},   {46, 'C', 0x2E, false},
    {47, 'V', 0x2F, false},   {48, 'B', 0x30, false},   {49, 'N', 0x31, false},
    {50, 'M', 0x32, false},   {51, 0xBC, 0x33, false}, // ,
    {52, 0xBE, 0x34, false},                           // .
    {53, 0xBF, 0x35, false},                           // /
    {54, 0xA1, 0x36, false},                           // right Shift
    {55, 0x6A, 0x37, false},                           // keypad *
    {56, 0xA4, 0x38, false},                           // left Alt
    {57, 0x20, 0x39, false},                           // Space
    {58, 0x14, 0x3A, false},                           // Caps Lock
    {59, 0x70, 0x3B, false},                           // F1
    {60, 0x71, 0x3C, false},  {61, 0x72, 0x3D, false},  {62, 0x73, 0x3E, false},
    {63, 0x74, 0x3F, false},  {64, 0x75, 0x40, false},  {65, 0x76, 0x41, false},
    {66, 0x77, 0x42, false},  {67, 0x78, 0x43, false},  {68, 0x79, 0x44, false}, // F10
    {69, 0x90, 0x45, true},                                                      // Num Lock
    {70, 0x91, 0x46, false},                                                     // Scroll Lock
    {71, 0x67, 0x47, false},                                                     // keypad 7
    {72, 0x68, 0x48, false},                                                     // keypad 8
    {73, 0x69, 0x49, false},                                                     // keypad 9
    {74, 0x6D, 0x4A, false},                                                     // keypad -
    {75, 0x64, 0x4B, false},                                                     // keypad 4
    {76, 0x65, 0x4C, false},                                                     // keypad 5
    {77, 0x66, 0x4D, false},                                                     // keypad 6
    {78, 0x6B, 0x4E, false},                                                     // keypad +
    {79, 0x61, 0x4F, false},                                                     // keypad 1
    {80, 0x62, 0x50, false},                                                     // keypad 2
    {81, 0x63, 0x51, false},                                                     // keypad 3
    {82, 0x60, 0x52, false},                                                     // keypad 0
    {83, 0x6E, 0x53, false},                                                     // keypad .
    {85, 0xF3, 0x29, false},                                                     // Zenkaku/Hankaku
    {86, 0xE2, 0x56, false},  // the extra ISO key
    {87, 0x7A, 0x57, false},  // F11
    {88, 0x7B, 0x58, false},  // F12
    {89, 0xC1, 0x73, false},  // Ro
    {90, 0x15, 0x78, false},  // Katakana
    {91, 0x15, 0x77, false},  // Hiragana
    {92, 0x1C, 0x79, false},  // Henkan
    {93, 0x15, 0x70, false},  // Katakana/Hiragana
    {94, 0x1D, 0x7B, false},  // Muhenkan
    {95, 0x6C, 0x5C, false},  // keypad JP comma
    {96, 0x0D, 0x1C, true},   // keypad Enter
    {97, 0xA3, 0x1D, true},   // right Ctrl
    {98, 0x6F, 0x35, true},   // keypad /
    {99, 0x2C, 0x37, true},   // Print Screen
    {100, 0xA5, 0x38, true},  // right Alt
    {102, 0x24, 0x47, true},  // Home
    {103, 0x26, 0x48, true},  // Up
    {104, 0x21, 0x49, true},  // Page Up
    {105, 0x25, 0x4B, true},  // Left
    {106, 0x27, 0x4D, true},  // Right
    {107, 0x23, 0x4F, true},  // End
    {108, 0x28, 0x50, true},  // Down
    {109, 0x22, 0x51, true},  // Page Down
    {110, 0x2D, 0x52, true},  // Insert
    {111, 0x2E, 0x53, true},  // Delete
    {113, 0xAD, 0x20, true},  // Mute
    {114, 0xAE, 0x2E, true},  // Volume Down
    {115, 0xAF, 0x30, true},  // Volume Up
    {117, 0x92, 0x59, false}, // keypad =
    {119, 0x13, 0x45, false}, // Pause
    {121, 0x6C, 0x7E, false}, // keypad comma
    {122, 0x15, 0x72, false}, // Hangul
    {123, 0x19, 0x71, false}, // Hanja
    {124, 0xDC, 0x7D, false}, // Yen
    {125, 0x5B, 0x5B, true},  // left Windows
    {126, 0x5C, 0x5C, true},  // right Windows
    {127, 0x5D, 0x5D, true},  // Menu
    {128, 0xA9, 0x68, true},  // browser Stop
    {140, 0xB7, 0x21, true},  // Calculator
    {142, 0x5F, 0x5F, true},  // Sleep
    {155, 0xB4, 0x6C, true},  // Mail
    {156, 0xAB, 0x66, true},  // Favorites
    {157, 0xB6, 0x6B, true},  // My Computer
    {158, 0xA6, 0x6A, true},  // browser Back
    {159, 0xA7, 0x69, true},  // browser Forward
    {163, 0xB0, 0x19, true},  // next track
    {164, 0xB3, 0x22, true},  // play/pause
    {165, 0xB1, 0x10, true},  // previous track
    {166, 0xB2, 0x24, true},  // stop
    {172, 0xAC, 0x32, true},  // browser Home
    {173, 0xA8, 0x67, true},  // browser Refresh
    {183, 0x7C, 0x64, false}, // F13
    {184, 0x7D, 0x65, false}, {185, 0x7E, 0x66, false}, {186, 0x7F, 0x67, false},
    {187, 0x80, 0x68, false}, {188, 0x81, 0x69, false}, {189, 0x82, 0x6A, false},
    {190, 0x83, 0x6B, false}, {191, 0x84, 0x6C, false}, {192, 0x85, 0x6D, false},
    {193, 0x86, 0x6E, false}, {194, 0x87, 0x76, false}, // F24
    {217, 0xAA, 0x65, true},                            // browser Search
    {226, 0xB5, 0x6D, true},                            // media select
}};

constexpr bool sortedByCode()
{
    for (size_t i = 1; i < Keys.size(); ++i) {
        if (Keys[i - 1].code >= Keys[i].code)
            return false;
    }
    return true;
}
static_assert(sortedByCode());

constexpr unsigned short LeftAlt = 56;
constexpr unsigned short RightAlt = 100;
constexpr unsigned short F10 = 68;

constexpr std::uintptr_t KeyDown = 0x100;
constexpr std::uintptr_t KeyUp = 0x101;
constexpr std::uintptr_t SysKeyDown = 0x104;
constexpr std::uintptr_t SysKeyUp = 0x105;

constexpr std::uint32_t ExtendedFlag = 0x01;
constexpr std::uint32_t AltDownFlag = 0x20;
constexpr std::uint32_t UpFlag = 0x80;

} // namespace

bool keyboardEventFromEvdev(unsigned short code, int value, bool altDown, std::uintptr_t &message,
                            KeyboardEvent &event)
{
    if (value < 0 || value > 2)
        return false;
    const auto found
        = std::lower_bound(Keys.begin(), Keys.end(), code,
                           [](const EvdevKey &k, unsigned short c) { return k.code < c; });
    if (found == Keys.end() || found->code != code)
        return false;

    // Autorepeat arrives as further presses, as on Windows.
    const bool pressed = value != 0;
    const bool isAlt = code == LeftAlt || code == RightAlt;
    // Alt itself counts as held while pressed; its release is a plain key release.
    const bool altHeld = altDown || (isAlt && pressed);
    const bool system = altHeld || code == F10;
    if (pressed)
        message = system ? SysKeyDown : KeyDown;
    else
        message = system ? SysKeyUp : KeyUp;

    event = {};
    event.vkCode = found->vk;
    event.scanCode = found->scan;
    event.flags = (found->extended ? ExtendedFlag : 0) | (altHeld ? AltDownFlag : 0)
                  | (pressed ? 0 : UpFlag);
    return true;
}
