#include "keymap/KeySettingsSkins.h"

#include "skin/SkinLibrary.h"

KeySettingsSkins KeySettingsSkins::fromLibrary(const SkinLibrary &library, int deviceType)
{
    KeySettingsSkins skins;
    for (int page = 1; page <= KeySettingsTable::PageCount; ++page)
        skins.pages[std::size_t(page - 1)]
            = library.images(SkinIds::skinSet(SkinDialog::KeySettings, deviceType, page));
    skins.scrollBar = library.bitmap(SkinIds::ScrollBar);
    skins.virtualKeyboard
        = library.images(SkinIds::skinSet(SkinDialog::VirtualKeyboard, deviceType));
    return skins;
}
