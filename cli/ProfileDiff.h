#pragma once

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

std::vector<std::string> lines(const AppState &a, const AppState &b);

} // namespace ProfileDiff
