#pragma once

#include "layout/KeySettingsTable.h"
#include "skin/SkinImages.h"

#include <QImage>

#include <array>

class SkinLibrary;

// Every bitmap the key settings dialog shows: the faces of its seven pages, the scroll bar
// skin and the virtual keyboard it opens.
struct KeySettingsSkins {
    std::array<SkinImages, KeySettingsTable::PageCount> pages;
    QImage scrollBar;
    SkinImages virtualKeyboard;

    static KeySettingsSkins fromLibrary(const SkinLibrary &library, int deviceType);
};
