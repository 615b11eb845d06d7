#include "cli/CliKeyNames.h"

#include "cli/NameSuggestions.h"
#include "model/KeyCatalogue.h"

#include <quillodev/KeyCounts.h>

#include <algorithm>

namespace {

using quillodev::KeyCount;
constexpr int IsoKeyCode = 204;

// The codes a single key can carry: what the capture and the virtual keyboard give.
std::vector<int> singleCodes()
{
    std::vector<int> codes;
    for (int code = 1; code <= 107; ++code) {
        if (code < 75 || code > 77) // the power codes are not keys
            codes.push_back(code);
    }
    codes.push_back(IsoKeyCode);
    return codes;
}

// The first exact match, else the first one alike but for the case of letters.
int find(const std::vector<std::string> &names, const std::string &text)
{
    const auto exact = std::find(names.begin(), names.end(), text);
    if (exact != names.end())
        return int(exact - names.begin());
    const auto alike = std::find_if(names.begin(), names.end(), [&](const std::string &name) {
        return NameSuggestions::sameName(name, text);
    });
    return alike == names.end() ? -1 : int(alike - names.begin());
}

bool isNumber(const std::string &text)
{
    return !text.empty() && text.size() <= 4
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

namespace CliKeyNames {

std::string keyName(const KeyCatalogue &catalogue, int key)
{
    if (key < 1 || key > KeyCount)
        return KeyCatalogue::NoName;
    // The top layer's factory codes are the same for every model.
    return catalogue.nameOfCode(KeyCatalogue::defaultCode(1, key, 0));
}

Lookup findKey(const KeyCatalogue &catalogue, const std::string &text)
{
    if (isNumber(text)) {
        const int key = std::stoi(text);
        if (key >= 1 && key <= KeyCount)
            return {key, {}};
        return {0, "key number " + text + " is not one of 1..108"};
    }
    std::vector<std::string> names;
    for (int key = 1; key <= KeyCount; ++key)
        names.push_back(keyName(catalogue, key));
    const int found = find(names, text);
    if (found < 0)
        return {0, NameSuggestions::unknownText("key", text, names)};
    return {found + 1, {}};
}

Lookup findSingleCode(const KeyCatalogue &catalogue, const std::string &text)
{
    const std::vector<int> codes = singleCodes();
    std::vector<std::string> names;
    for (int code : codes)
        names.push_back(catalogue.nameOfCode(code));
    const int found = find(names, text);
    if (found < 0)
        return {0, NameSuggestions::unknownText("single key", text, names)};
    return {codes[std::size_t(found)], {}};
}

} // namespace CliKeyNames
