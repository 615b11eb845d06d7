#include "layout/SkinSet.h"

#include "model/KeyboardModel.h"

#include <algorithm>

namespace {

// Rows: variants 1 (and 0), 2, 3, 4.
constexpr SkinSet MainWindowSets[4]
    = {{101, 102, 103}, {146, 148, 147}, {154, 155, 153}, {157, 158, 156}};
// Page 6 of the key settings dialog has its own face per variant.
constexpr int KeySettingsPage6[4] = {122, 151, 150, 152};
constexpr SkinSet BacklightSets[2] = {{131, 132, 133}, {161, 162, 160}};
constexpr SkinSet MultiKeySets[2] = {{142, 143, 144}, {164, 165, 163}};
constexpr SkinSet FirmwareSet{128, 129, 130};
constexpr SkinSet ProgressSet{139, 140, 141};
constexpr SkinSet VirtualKeyboardSet{167, 168, 166};

int variantRow(int deviceType)
{
    return deviceType >= 2 && deviceType <= 4 ? deviceType - 1 : 0;
}

} // namespace

namespace SkinIds {

SkinSet skinSet(SkinDialog dialog, int deviceType, int page)
{
    const int row = variantRow(deviceType);
    switch (dialog) {
    case SkinDialog::MainWindow:
        return MainWindowSets[row];
    case SkinDialog::KeySettings: {
        const int p = std::clamp(page, 1, KeySettingsPages);
        const int first = 107 + (p - 1) * 3;
        return {p == 6 ? KeySettingsPage6[row] : first, first + 1, first + 2};
    }
    case SkinDialog::FirmwareUpdate:
        return FirmwareSet;
    case SkinDialog::Backlight:
        return BacklightSets[row == 3 ? 1 : 0];
    case SkinDialog::Progress:
        return ProgressSet;
    case SkinDialog::MultiKeyColour:
        return MultiKeySets[row == 3 ? 1 : 0];
    case SkinDialog::VirtualKeyboard:
        return VirtualKeyboardSet;
    }
    return {};
}

std::vector<SkinSet> programSkinSets(int deviceType)
{
    // A dialog's sets join this list when its faces are generated.
    std::vector<SkinSet> sets{skinSet(SkinDialog::MainWindow, deviceType)};
    for (int page = 1; page <= KeySettingsPages; ++page)
        sets.push_back(skinSet(SkinDialog::KeySettings, deviceType, page));
    sets.push_back(skinSet(SkinDialog::VirtualKeyboard, deviceType));
    sets.push_back(skinSet(SkinDialog::Progress, deviceType));
    sets.push_back(skinSet(SkinDialog::FirmwareUpdate, deviceType));
    // Only keyboards with per-key colours open the lighting dialogs.
    if (KeyboardModel::hasKeyColours(deviceType)) {
        sets.push_back(skinSet(SkinDialog::Backlight, deviceType));
        sets.push_back(skinSet(SkinDialog::MultiKeyColour, deviceType));
    }
    return sets;
}

std::vector<int> programBitmapIds(int deviceType)
{
    std::vector<int> ids;
    for (const SkinSet &set : programSkinSets(deviceType)) {
        for (int id : {set.background, set.hover, set.checked}) {
            if (std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        }
    }
    ids.push_back(ScrollBar);
    return ids;
}

} // namespace SkinIds
