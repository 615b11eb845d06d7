#include "cli/LightEdit.h"

#include "cli/CliKeyNames.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"

#include <cstdio>
#include <utility>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string badColour(const std::string &text)
{
    return "'" + text + "' is not a colour: give #RRGGBB, six hex digits of red, green, blue";
}

} // namespace

namespace LightEdit {

std::optional<LightColour> parseColour(const std::string &text)
{
    const std::string digits = text.starts_with('#') ? text.substr(1) : text;
    if (digits.size() != 6)
        return std::nullopt;
    int values[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const int high = hexDigit(digits[2 * i]);
        const int low = hexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        values[i] = high * 16 + low;
    }
    return LightColour{values[0], values[1], values[2]};
}

std::string colourText(const LightColour &colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(colour.red) & 0xFF,
                  unsigned(colour.green) & 0xFF, unsigned(colour.blue) & 0xFF);
    return text;
}

std::string apply(AppState &state, const Request &request)
{
    if (!KeyboardModel::hasKeyColours(state.deviceType))
        return std::string(KeyboardModel::name(state.deviceType))
               + " keyboards have no per-key colours: lights takes profiles of "
               + KeyboardModel::name(1) + " and " + KeyboardModel::name(4) + " (variants 1 and 4)";
    std::optional<LightColour> all;
    if (!request.all.empty() && !(all = parseColour(request.all)))
        return badColour(request.all);

    std::vector<std::pair<int, LightColour>> keys;
    for (const std::string &item : request.keys) {
        // The key "=" has a name of its own: the colour follows the last one.
        const std::size_t at = item.rfind('=');
        if (at == std::string::npos || at == 0)
            return "'" + item + "' is not KEY=#RRGGBB";
        const CliKeyNames::Lookup key = CliKeyNames::findKey(state.catalogue, item.substr(0, at));
        if (!key)
            return key.error;
        const std::optional<LightColour> colour = parseColour(item.substr(at + 1));
        if (!colour)
            return badColour(item.substr(at + 1));
        keys.emplace_back(key.value, *colour);
    }
    if (!all && keys.empty())
        return "no colour given: --key KEY=#RRGGBB or --all #RRGGBB";

    if (all)
        state.lightSettings.fill(*all);
    for (const auto &[key, colour] : keys)
        state.lightSettings[std::size_t(key)] = colour;
    return {};
}

} // namespace LightEdit
