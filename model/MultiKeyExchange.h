#pragma once

#include "model/LightSettings.h"

#include <array>

// Exchange between the backlight dialog and the multi-key colour dialog.
struct MultiKeyExchange {
    std::array<bool, 109> selectedKeys{};
    LightSettings colours{};
    LightColour chosenColour;
};
