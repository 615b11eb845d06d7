#include "lighting/BacklightSkins.h"

#include "layout/SkinSet.h"
#include "skin/SkinLibrary.h"

BacklightSkins BacklightSkins::fromLibrary(const SkinLibrary &library, int deviceType)
{
    return {library.images(SkinIds::skinSet(SkinDialog::Backlight, deviceType)),
            library.images(SkinIds::skinSet(SkinDialog::MultiKeyColour, deviceType)),
            library.images(SkinIds::skinSet(SkinDialog::Progress, deviceType))};
}
