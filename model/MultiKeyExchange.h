#pragma once

#include "model/LightSettings.h"

#include <array>

// Exchange between the backlight dialog and the multi-key colour dialog.
struct MultiKeyExchange {
    std::array<bool, quillodev::KeyArraySize> selectedKeys{};
    LightSettings colours{};
    LightColour chosenColour;
};
