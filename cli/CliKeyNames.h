#pragma once

#include <string>
#include <vector>

class KeyCatalogue;

// Keys by name on the command line. A key's name is what it types from the factory, as show
// prints it for a fresh profile's top layer ("ESC", "BACKSPACE", "FN", "(Enter)"); the same on
// every model.
namespace CliKeyNames {

// A name or number looked up: the value, or why there is none (with the closest names).
struct Lookup {
    int value = 0;
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

std::string keyName(const KeyCatalogue &catalogue, int key);
// KEY as --key takes it: a key number 1..108 (the digit keys are 15..24 by number) or a
// key's name, letters in either case.
Lookup findKey(const KeyCatalogue &catalogue, const std::string &text);
// The device code of a single key by the name show prints for it ("A", "LSHIFT", "<>|"):
// the keys a single key can be in the window, those of the keyboard itself.
Lookup findSingleCode(const KeyCatalogue &catalogue, const std::string &text);

} // namespace CliKeyNames
