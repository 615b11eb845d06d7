#include "lighting/BacklightSkins.h"

#include "skin/SkinLibrary.h"
#include "skin/SkinSet.h"

BacklightSkins BacklightSkins::fromLibrary(const SkinLibrary &library, int deviceType)
{
    return {library.images(SkinIds::skinSet(SkinDialog::Backlight, deviceType)),
            library.images(SkinIds::skinSet(SkinDialog::MultiKeyColour, deviceType)),
            library.images(SkinIds::skinSet(SkinDialog::Progress, deviceType))};
}
