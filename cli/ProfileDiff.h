#pragma once

#include "model/LightSettings.h"

#include <string>
#include <vector>

class AppState;

// What differs between two configurations of one variant, as quillo-cli diff prints it: one
// line per key and layer whose assignment differs, in the words of show, then the lights,
// then the entries of the predefined lists. Fields are separated by tabs, the old value comes
// before "->" and the new one after it; where the words alike, brackets say what differs:
//
//     27   0   Single   BackSpace   ->   Macro   A,A
//     2    0   Macro    A,A [auto delay 100 ms]   ->   Macro   A,A [auto delay 200 ms]
//     light   5   255 0 0   ->   0 0 0
//     macro   2   copy: Ctrl,C   ->   -
//
// A difference the keyboard does not keep (a step's Down or UP, a recorded macro's unused
// delay, the lists, the lights of a model without them) leaves both keyboards alike; its line
// ends in a last field "(same on the keyboard)". Only what a key or entry does counts, not
// where a list was scrolled to.
namespace ProfileDiff {

struct Difference {
    enum class Kind { Key, Light, Combo, Macro, Emulation };
    Kind kind = Kind::Key;
    int number = 0; // the key, or the list entry counted from 1
    int layer = 0;  // keys only
    // Keys: the categories; the words, with what differs in brackets when the words alike.
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
    // Written to a keyboard, both sides leave it the same.
    bool sameOnKeyboard = false;
};

// `keyboardOnly`: leave out the differences that are the same on the keyboard.
std::vector<Difference> differences(const AppState &a, const AppState &b,
                                    bool keyboardOnly = false);
// One line of the text above.
std::string line(const Difference &difference);
// "combo", "macro", "emulation", "light" or "key".
const char *kindName(Difference::Kind kind);

} // namespace ProfileDiff
