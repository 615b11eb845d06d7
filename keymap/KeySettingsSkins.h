#pragma once

#include "layout/KeySettingsTable.h"
#include "skin/SkinImages.h"

#include <QImage>

#include <array>

class SkinLibrary;

// Every bitmap the key settings dialog shows: the faces of its seven pages, the scroll bar
// skin and the virtual keyboard it opens. From the library, a page's faces are unpacked when
// it is shown, and the virtual keyboard's when it opens, so that only what is on screen costs
// memory; the library must outlive the dialog.
struct KeySettingsSkins {
    // Faces given as they are; those left empty come from the library.
    std::array<SkinImages, KeySettingsTable::PageCount> pages;
    QImage scrollBar;
    SkinImages virtualKeyboard;
    const SkinLibrary *library = nullptr;
    int deviceType = 0;

    // The faces of page 1..7, and of the virtual keyboard.
    SkinImages page(int page) const;
    SkinImages virtualKeyboardFaces() const;

    static KeySettingsSkins fromLibrary(const SkinLibrary &library, int deviceType);
};
