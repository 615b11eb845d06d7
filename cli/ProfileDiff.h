#pragma once

#include "model/LightSettings.h"

#include <string>
#include <vector>

class AppState;

// What differs between two configurations of one variant, as quillo-cli diff prints it: one
// line per key and layer whose assignment differs, in the words of show, then the lights,
// then the entries of the predefined lists. Fields are separated by tabs, the old value comes
// before "->" and the new one after it:
//
//     27   0   Single   BackSpace   ->   Macro   A,A
//     light   5   255 0 0   ->   0 0 0
//     macro   2   copy: Ctrl,C   ->   -
//
// Only what a key or entry does counts, not where a list was scrolled to.
namespace ProfileDiff {

struct Difference {
    enum class Kind { Key, Light, Combo, Macro, Emulation };
    Kind kind = Kind::Key;
    int number = 0; // the key, or the list entry counted from 1
    int layer = 0;  // keys only
    // Keys: the categories; the words, with the play settings when the words alike.
    int categoryBefore = 0;
    int categoryAfter = 0;
    std::string before;
    std::string after;
    // Lights.
    LightColour colourBefore;
    LightColour colourAfter;
    // List entries: whether each side has one, its name and the words of its steps.
    bool inBefore = true;
    bool inAfter = true;
    std::string nameBefore;
    std::string nameAfter;
};

std::vector<Difference> differences(const AppState &a, const AppState &b);
// One line of the text above.
std::string line(const Difference &difference);
// "combo", "macro", "emulation", "light" or "key".
const char *kindName(Difference::Kind kind);

inline std::vector<std::string> lines(const AppState &a, const AppState &b)
{
    std::vector<std::string> out;
    for (const Difference &difference : differences(a, b))
        out.push_back(line(difference));
    return out;
}

} // namespace ProfileDiff
