#pragma once

#include "skin/SkinImages.h"

class SkinLibrary;

// Every face the backlight dialog shows: its own, the multi-key colour dialog's and the
// progress dialog's for its device jobs.
struct BacklightSkins {
    SkinImages backlight;
    SkinImages multiKey;
    SkinImages progress;

    static BacklightSkins fromLibrary(const SkinLibrary &library, int deviceType);
};
