#pragma once

#include "model/LightSettings.h"

#include <optional>
#include <string>
#include <vector>

class AppState;

// quillo-cli lights: key colours given as #RRGGBB, the web's order of red, green and blue.
namespace LightEdit {

struct Request {
    std::vector<std::string> keys; // KEY=#RRGGBB, KEY a key name or number
    std::string all;               // #RRGGBB for every key, empty when not given
};

// "#RRGGBB" or "RRGGBB" (hex digits in either case); nothing for anything else.
std::optional<LightColour> parseColour(const std::string &text);
// "#RRGGBB" of a colour's low 8 bits per component, as the keyboard gets them.
std::string colourText(const LightColour &colour);

// --all first, as the backlight dialog's Set All (every entry), then each --key in order.
// Refused as a whole, with the reason, when any part is bad or the model has no per-key
// colours; the lights are unchanged then.
std::string apply(AppState &state, const Request &request);

} // namespace LightEdit
