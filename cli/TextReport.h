#pragma once

#include <string>

class AppState;

// The text output of show and counters, tab-separated lines for scripts.
namespace TextReport {

// "27<TAB>0<TAB>Single<TAB>F1<TAB>BACKSPACE": key, layer, category, what the key does, and
// the key's name last, so that the fields before it stay where they were.
std::string show(const AppState &state);
// "highest<TAB>caption", "lowest<TAB>caption", then "key<TAB>count<TAB>name" per key; the name
// follows the count so that the count stays the second field.
std::string counters(const AppState &state);

} // namespace TextReport
