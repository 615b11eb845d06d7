#pragma once

#include <array>

// The catalogue's data: names of the Windows virtual keys and of the pseudo keys, and the
// virtual key behind every device code. Keys missing here have no name on purpose.
namespace KeyNames {

struct Entry {
    int key;
    const char *name;
};

// Virtual keys below 256; letters and digits are added by the catalogue itself. Where the
// platform's list gives one key several names, the last one is the one kept.
constexpr Entry virtualKeys[] = {
    {1, "Left mouse button"},
    {2, "Right mouse button"},
    {3, "Control-break processing"},
    {4, "Middle mouse button"},
    {5, "X1 mouse button"},
    {6, "X2 mouse button"},
    {8, "BACKSPACE"},
    {9, "TAB"},
    {10, "Reserved"},
    {11, "Reserved"},
    {12, "CLEAR"},
    {13, "ENTER"},
    {16, "SHIFT"},
    {17, "Left CTRL"},
    {18, "Left ALT"},
    {19, "PAUSE"},
    {20, "CAPS LOCK"},
    {21, "IME Hangul mode"},
    {23, "IME Junja mode"},
    {24, "IME final mode"},
    {25, "IME Kanji mode"},
    {27, "ESC"},
    {28, "IME convert"},
    {29, "IME nonconvert"},
    {30, "IME accept"},
    {31, "IME mode change request"},
    {32, "SPACEBAR"},
    {33, "PGUP"},
    {34, "PGDN"},
    {35, "END"},
    {36, "HOME"},
    {37, "LEFT ARROW"},
    {38, "UP ARROW"},
    {39, "RIGHT ARROW"},
    {40, "DOWN ARROW"},
    {41, "SELECT"},
    {42, "PRINT"},
    {43, "EXECUTE"},
    {44, "PRINT SCREEN"},
    {45, "INS"},
    {46, "DEL"},
    {47, "HELP"},
    {91, "LWin"},
    {92, "RWin"},
    {93, "App"},
    {94, "Reserved"},
    {95, "Sleep"},
    {96, "(0)"},
    {97, "(1)"},
    {98, "(2)"},
    {99, "(3)"},
    {100, "(4)"},
    {101, "(5)"},
    {102, "(6)"},
    {103, "(7)"},
    {104, "(8)"},
    {105, "(9)"},
    {106, "(*)"},
    {107, "(+)"},
    {108, "Separator"},
    {109, "(-)"},
    {110, "(.)"},
    {111, "(/)"},
    {112, "F1"},
    {113, "F2"},
    {114, "F3"},
    {115, "F4"},
    {116, "F5"},
    {117, "F6"},
    {118, "F7"},
    {119, "F8"},
    {120, "F9"},
    {121, "F10"},
    {122, "F11"},
    {123, "F12"},
    {124, "F13"},
    {125, "F14"},
    {126, "F15"},
    {127, "F16"},
    {128, "F17"},
    {129, "F18"},
    {130, "F19"},
    {131, "F20"},
    {132, "F21"},
    {133, "F22"},
    {134, "F23"},
    {135, "F24"},
    {144, "NUM LOCK"},
    {145, "SCR LOCK"},
    {160, "LSHIFT"},
    {161, "RSHIFT"},
    {162, "LCTRL"},
    {163, "RCTRL"},
    {164, "LALT"},
    {165, "RALT"},
    {166, "Browser Back"},
    {167, "Browser Forward"},
    {168, "Browser Refresh"},
    {169, "Browser Stop"},
    {170, "Browser Search"},
    {171, "Browser Favorites"},
    {172, "Browser Start and Home"},
    {173, "Volume Mute"},
    {174, "Volume Down"},
    {175, "Volume Up"},
    {176, "Next Track"},
    {177, "Previous Track"},
    {178, "Stop Media"},
    {179, "Play/Pause Media"},
    {180, "Start Mail"},
    {181, "Select Media"},
    {182, "Start Application 1"},
    {183, "Start Application 2"},
    {186, ";"},
    {187, "="},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "`"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "'"},
    {223, "Used for miscellaneous characters; it can vary by keyboard."},
    {224, "Reserved"},
    {225, "OEM specific"},
    {226, "<>|"},
    {229, "IME PROCESS"},
    {230, "OEM specific"},
    {231, "Used to pass Unicode characters as if they were keystrokes. The VK_PACKET key is the "
          "low word of a 32-bit Virtual Key value used for non-keyboard input methods. For more "
          "information, see Remark in KEYBDINPUT, SendInput, WM_KEYDOWN, and WM_KEYUP"},
    {232, "Unassigned"},
    {246, "Attn"},
    {247, "CrSel"},
    {248, "ExSel"},
    {249, "Erase EOF"},
    {250, "Play"},
    {251, "Zoom"},
    {252, "Reserved"},
    {253, "PA1"},
    {254, "Clear"},
};

// Keys from 256 on. The function codes' pseudo keys are 256 + code; the keypad Enter is 13
// with the extended-key bit.
constexpr int PseudoKeyBase = 256;
constexpr Entry pseudoKeys[] = {
    {269, "(Enter)"},
    {331, "Wake Up"},
    {332, "Sleep"},
    {333, "Power"},
    {364, "Next track"},
    {365, "Previous track"},
    {366, "Stop"},
    {367, "Play/Pause"},
    {368, "Mute"},
    {369, "VolumeUp"},
    {370, "VolumeDown"},
    {371, "Media Select"},
    {372, "E-mail"},
    {373, "Calculator"},
    {374, "My computer"},
    {375, "WWW Search"},
    {376, "WWW Home"},
    {377, "WWW Back"},
    {378, "WWW Forward"},
    {379, "WWW Stop"},
    {380, "WWW Refresh"},
    {381, "WWW Favorities"},
    {382, "Mouse Left"},
    {383, "Mouse Right"},
    {384, "Mouse Up"},
    {385, "Mouse Down"},
    {386, "Mouse Key Left"},
    {387, "Mouse Key Right"},
    {388, "Mouse Key Middle"},
    {389, "Mouse Wheel Up"},
    {390, "Mouse Wheel Dn"},
    {391, "Backlight Switch"},
    {392, "Backlight Macro"},
    {393, "Lamp Effect"},
    {394, "Effect Color Exchange"},
    {395, "Effect Exit"},
    {396, "Reserved"},
    {397, "Reserved"},
    {398, "Frequence-"},
    {399, "Frequence+"},
    {400, "Backlight Lightness-"},
    {401, "Backlight Lightness+"},
    {402, "Direction Left"},
    {403, "Direction Right"},
    {404, "Back Color Exchange"},
    {405, "Reserved"},
    {406, "Keyboard Lock"},
    {407, "Adjust Trigger Point"},
    {408, "Ctrl&Caps Exchange"},
    {409, "Win Lock"},
    {410, "Fn Lock"},
    {411, "Win/Mac Exchange"},
    {412, "FN"},
    {413, "Unit Pixel"},
    {414, "Unit Time"},
    {415, "Programmable Keyboard"},
    {416, "Reserved"},
    {417, "Reserved"},
    {418, "Reserved"},
    {419, "Reserved"},
    {420, "Reserved"},
    {421, "Reserved"},
    {422, "Reserved"},
    {423, "Wire&Wireless Exchange"},
    {424, "BTD1"},
    {425, "BTD2"},
    {426, "BTD3"},
    {427, "Game"},
    {428, "ECO"},
    {429, "First Delay"},
    {430, "Key Repeat Rate"},
    {431, "Key Response Delay"},
    {436, "BTD4"},
    {437, "BTD5"},
    {455, "Left Double Click"},
};

// Virtual key of each device code 0..107, in layout order; 0 has none. Codes 75..77 are the
// power functions' pseudo keys.
constexpr std::array<int, 108> keyOfBasicCode = {
    0,                                                                    // nothing
    27,                                                                   // Esc
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,           // F1..F12
    192, 49,  50,  51,  52,  53,  54,  55,  56,  57,  48,  189, 187, 8,   // ` 1..0 - = Backspace
    9,   81,  87,  69,  82,  84,  89,  85,  73,  79,  80,  219, 221, 220, // Tab Q..P [ ] backslash
    20,  65,  83,  68,  70,  71,  72,  74,  75,  76,  186, 222, 13,       // Caps A..L ; ' Enter
    160, 90,  88,  67,  86,  66,  78,  77,  188, 190, 191, 161, // LShift Z..M , . / RShift
    162, 91,  164, 32,  165, 92,  93,  163,                     // bottom row
    331, 332, 333,                                              // Wake Up, Sleep, Power
    44,  145, 19,  45,  36,  33,  46,  35,  34,                 // PrtSc ScrLk Pause, Ins..PgDn
    38,  37,  40,  39,                                          // arrows
    144, 111, 106, 103, 104, 105, 100, 101, 102, 97,  98,  99,  // keypad
    96,  110, 109, 107, 269,                                    // keypad 0 . - + Enter
};

// Function codes whose pseudo key is 256 + code.
constexpr int FirstFunctionCode = 108;
constexpr int LastFunctionCode = 175;
constexpr int BluetoothCodes[] = {180, 181};

constexpr int LeftDoubleClickCode = 199;
constexpr int LeftDoubleClickKey = 455;
constexpr int IsoKeyCode = 204;
constexpr int IsoKey = 226;
// A key no event can produce, which the forward table also maps to Power.
constexpr int UnreachablePowerKey = 999;
constexpr int PowerCode = 77;
constexpr int PowerKey = 333;

} // namespace KeyNames
