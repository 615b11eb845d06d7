#include "layout/VirtualKeyboardTable.h"

#include <array>

namespace VirtualKeyboardTable {
namespace {

struct KeyCell {
    short id;
    const char *caption;
    const char *name; // null: same as the caption
    short code;
    short left, top, right, bottom;
};

// By rows of the picture; no key stands for the media keys or a power function.
constexpr std::array<KeyCell, 104> keys{{
    {100, "Esc", nullptr, 1, 30, 65, 63, 98},
    {101, "F1", nullptr, 2, 106, 65, 139, 98},
    {102, "F2", nullptr, 3, 144, 65, 177, 98},
    {103, "F3", nullptr, 4, 182, 65, 215, 98},
    {104, "F4", nullptr, 5, 220, 65, 253, 98},
    {105, "F5", nullptr, 6, 279, 65, 312, 98},
    {106, "F6", nullptr, 7, 317, 65, 350, 98},
    {107, "F7", nullptr, 8, 355, 65, 388, 98},
    {108, "F8", nullptr, 9, 393, 65, 426, 98},
    {109, "F9", nullptr, 10, 451, 65, 484, 98},
    {110, "F10", nullptr, 11, 489, 65, 522, 98},
    {111, "F11", nullptr, 12, 527, 65, 560, 98},
    {112, "F12", nullptr, 13, 565, 65, 598, 98},
    {174, "PrtScreen", "PrintScreen", 78, 622, 65, 656, 98},
    {175, "ScrollLock", nullptr, 79, 660, 65, 694, 98},
    {176, "Pause", nullptr, 80, 698, 65, 732, 98},

    {113, "~", nullptr, 14, 30, 103, 63, 136},
    {114, "1", nullptr, 15, 68, 103, 101, 136},
    {115, "2", nullptr, 16, 106, 103, 139, 136},
    {116, "3", nullptr, 17, 144, 103, 177, 136},
    {117, "4", nullptr, 18, 183, 103, 216, 136},
    {118, "5", nullptr, 19, 221, 103, 254, 136},
    {119, "6", nullptr, 20, 259, 103, 292, 136},
    {120, "7", nullptr, 21, 297, 103, 330, 136},
    {121, "8", nullptr, 22, 335, 103, 368, 136},
    {122, "9", nullptr, 23, 373, 103, 406, 136},
    {123, "0", nullptr, 24, 412, 103, 445, 136},
    {124, "-", nullptr, 25, 450, 103, 483, 136},
    {125, "+", nullptr, 26, 488, 103, 521, 136},
    {126, "BackSpace", nullptr, 27, 525, 103, 598, 136},
    {177, "Insert", nullptr, 81, 622, 103, 656, 136},
    {178, "Home", nullptr, 82, 660, 103, 694, 136},
    {179, "PgUp", nullptr, 83, 698, 103, 732, 136},
    {187, "NumLock", nullptr, 91, 756, 103, 790, 136},
    {188, "KP/", nullptr, 92, 794, 103, 828, 136},
    {189, "KP*", nullptr, 93, 832, 103, 866, 136},
    {201, "KP-", nullptr, 105, 870, 103, 904, 136},

    {127, "Tab", nullptr, 28, 30, 141, 84, 174},
    {128, "Q", nullptr, 29, 89, 141, 122, 174},
    {129, "W", nullptr, 30, 127, 141, 160, 174},
    {130, "E", nullptr, 31, 165, 141, 198, 174},
    {131, "R", nullptr, 32, 203, 141, 236, 174},
    {132, "T", nullptr, 33, 242, 141, 275, 174},
    {133, "Y", nullptr, 34, 280, 141, 313, 174},
    {134, "U", nullptr, 35, 318, 141, 351, 174},
    {135, "I", nullptr, 36, 356, 141, 389, 174},
    {136, "O", nullptr, 37, 394, 141, 427, 174},
    {137, "P", nullptr, 38, 432, 141, 465, 174},
    {138, "[", nullptr, 39, 470, 141, 503, 174},
    {139, "]", nullptr, 40, 508, 141, 541, 174},
    {140, "\\", nullptr, 41, 546, 141, 598, 174},
    {180, "Delete", nullptr, 84, 622, 141, 656, 174},
    {181, "End", nullptr, 85, 660, 141, 694, 174},
    {182, "PgDown", nullptr, 86, 698, 141, 732, 174},
    {190, "KP7", nullptr, 94, 756, 141, 790, 174},
    {191, "KP8", nullptr, 95, 794, 141, 828, 174},
    {192, "KP9", nullptr, 96, 832, 141, 866, 174},
    {202, "KP+", nullptr, 106, 870, 141, 904, 211},

    {142, "A", nullptr, 43, 97, 178, 130, 211},
    {143, "S", nullptr, 44, 135, 178, 168, 211},
    {144, "D", nullptr, 45, 173, 178, 207, 211},
    {145, "F", nullptr, 46, 212, 178, 245, 211},
    {146, "G", nullptr, 47, 250, 178, 283, 211},
    {147, "H", nullptr, 48, 288, 178, 321, 211},
    {148, "J", nullptr, 49, 326, 178, 359, 211},
    {149, "K", nullptr, 50, 364, 178, 397, 211},
    {150, "L", nullptr, 51, 402, 178, 435, 211},
    {151, ";", nullptr, 52, 440, 178, 474, 211},
    {152, "'", nullptr, 53, 478, 178, 512, 211},
    {153, "Enter", nullptr, 54, 516, 178, 598, 211},
    {193, "KP4", nullptr, 97, 756, 178, 790, 211},
    {194, "KP5", nullptr, 98, 794, 178, 828, 211},
    {195, "KP6", nullptr, 99, 832, 178, 866, 211},
    {141, "Caps Lock", nullptr, 42, 30, 179, 93, 211},

    {154, "Shift", nullptr, 55, 30, 215, 115, 248},
    {155, "Z", nullptr, 56, 120, 215, 153, 248},
    {156, "X", nullptr, 57, 158, 215, 191, 248},
    {157, "C", nullptr, 58, 196, 215, 230, 248},
    {158, "V", nullptr, 59, 234, 215, 268, 248},
    {159, "B", nullptr, 60, 272, 215, 306, 248},
    {160, "N", nullptr, 61, 310, 215, 344, 248},
    {161, "M", nullptr, 62, 348, 215, 382, 248},
    {162, "<", nullptr, 63, 386, 215, 420, 248},
    {163, ">", nullptr, 64, 425, 215, 459, 248},
    {164, "?", nullptr, 65, 463, 215, 497, 248},
    {165, "Shift", nullptr, 66, 502, 215, 598, 248},
    {183, "Up", nullptr, 87, 660, 215, 694, 248},
    {196, "KP1", nullptr, 100, 756, 215, 790, 248},
    {197, "KP2", nullptr, 101, 794, 215, 828, 248},
    {198, "KP3", nullptr, 102, 832, 215, 866, 248},
    {203, "KPEnter", nullptr, 107, 870, 215, 904, 285},

    {166, "Ctrl", nullptr, 67, 30, 252, 75, 285},
    {167, "Win", "LWin", 68, 80, 252, 125, 285},
    {168, "Alt", "LAlt", 69, 130, 252, 175, 285},
    {169, "Space", nullptr, 70, 180, 252, 398, 285},
    {170, "Alt", "RAlt", 71, 403, 252, 448, 285},
    {171, "Win", "RWin", 72, 453, 252, 498, 285},
    {172, "Menu", "App", 73, 503, 252, 548, 285},
    {173, "Ctrl", "RCtrl", 74, 553, 252, 598, 285},
    {184, "Left", nullptr, 88, 622, 252, 656, 285},
    {185, "Down", nullptr, 89, 660, 252, 694, 285},
    {186, "Right", nullptr, 90, 698, 252, 732, 285},
    {199, "KP0", nullptr, 103, 756, 252, 828, 285},
    {200, "KP.", nullptr, 104, 832, 252, 866, 285},
}};
static_assert(keys.back().id != 0, "every one of the 104 keys is listed");

constexpr const char *Tip = "tip";

} // namespace

std::vector<DrawnButton> build()
{
    std::vector<DrawnButton> table(EntryCount);
    const auto set = [&](std::size_t slot, int id, const char *zh, const char *en, ButtonRect rect,
                         bool label) -> DrawnButton & {
        DrawnButton &entry = table[slot];
        entry.id = id;
        entry.setCaption(zh, en);
        entry.setTooltip(Tip, Tip);
        entry.rect = rect;
        entry.isLabel = label;
        return entry;
    };
    set(0, CloseMark, "", "", {893, 12, 916, 35}, false);
    set(1, OkButton, "确定", "OK", {570, 304, 652, 338}, false);
    set(2, CancelButton, "取消", "Cancel", {667, 304, 752, 338}, false);
    set(3, CloseMark, "虚拟键盘", "Virtual Keyboard", {400, 17, 540, 37}, true).fontSize
        = TitleFontSize;
    set(4, OkButton, "确定", "OK", {570, 312, 652, 338}, true);
    set(5, CancelButton, "取消", "Cancel", {667, 312, 752, 338}, true);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyCell &key = keys[i];
        DrawnButton &entry = set(6 + i, key.id, key.caption, key.caption,
                                 {key.left, key.top, key.right, key.bottom}, false);
        const char *name = key.name ? key.name : key.caption;
        entry.setTooltip(name, name);
        entry.keyIndex = key.code;
    }
    return table;
}

} // namespace VirtualKeyboardTable
