#include "model/LightArea.h"

#include <algorithm>

namespace LightArea {

namespace {

int colourPart(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

Values fromSettings(const LightSettings &settings)
{
    Values values{};
    for (std::size_t key = 1; key < settings.size(); ++key) {
        const LightColour &colour = settings[key];
        const std::size_t at = (key - 1) * 3;
        values[at] = colourPart(colour.red);
        values[at + 1] = colourPart(colour.green);
        values[at + 2] = colourPart(colour.blue);
    }
    return values;
}

void toSettings(const Values &values, LightSettings &settings)
{
    for (std::size_t key = 1; key < settings.size(); ++key) {
        const std::size_t at = (key - 1) * 3;
        settings[key]
            = {colourPart(values[at]), colourPart(values[at + 1]), colourPart(values[at + 2])};
    }
}

} // namespace LightArea
