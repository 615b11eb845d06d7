#pragma once

#include <vector>

// Resource ids of a dialog's three faces in the skin library: the background, the hover image
// and the checked (pressed) image, all of one size. Variant 0 (no keyboard) uses variant 1's.
struct SkinSet {
    int background = 0;
    int hover = 0;
    int checked = 0;

    bool operator==(const SkinSet &) const = default;
};

enum class SkinDialog {
    MainWindow,
    KeySettings, // one set per page 1..7
    FirmwareUpdate,
    Backlight,
    Progress,
    MultiKeyColour,
    VirtualKeyboard,
};

namespace SkinIds {

constexpr int ScrollBar = 138; // 9 x 3 square cells
constexpr int KeySettingsPages = 7;

// A dialog's set for a variant; `page` counts only for the key settings dialog (1..7).
SkinSet skinSet(SkinDialog dialog, int deviceType, int page = 1);

// The sets the program's dialogs load today; the start-up check and the generator both go by it.
std::vector<SkinSet> programSkinSets(int deviceType);
// Every single bitmap id the program loads for a variant, sets and scroll bar, without repeats.
std::vector<int> programBitmapIds(int deviceType);

} // namespace SkinIds
