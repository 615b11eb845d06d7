#include "keymap/KeySettingsSkins.h"

#include "skin/SkinLibrary.h"

#include <algorithm>

SkinImages KeySettingsSkins::page(int page) const
{
    const std::size_t index = std::size_t(std::clamp(page, 1, KeySettingsTable::PageCount) - 1);
    if (!library || !pages[index].background.isNull())
        return pages[index];
    return library->images(SkinIds::skinSet(SkinDialog::KeySettings, deviceType, page));
}

SkinImages KeySettingsSkins::virtualKeyboardFaces() const
{
    if (!library || !virtualKeyboard.background.isNull())
        return virtualKeyboard;
    return library->images(SkinIds::skinSet(SkinDialog::VirtualKeyboard, deviceType));
}

KeySettingsSkins KeySettingsSkins::fromLibrary(const SkinLibrary &library, int deviceType)
{
    KeySettingsSkins skins;
    skins.scrollBar = library.bitmap(SkinIds::ScrollBar);
    skins.library = &library;
    skins.deviceType = deviceType;
    return skins;
}
