#pragma once

#include "cli/ProfileDiff.h"

#include <string>
#include <vector>

class AppState;

// The JSON documents of quillo-cli --json: the content of the text output, with keys by
// number and name and categories by number and name. Each is one document, UTF-8, ending in
// a newline. Built with Qt's JSON classes, which escape every text correctly (control
// characters, quotes, any Unicode) and never emit invalid UTF-8.
namespace JsonReport {

std::string detect(int variant);
std::string version(const std::string &text);
// Every key on both layers, the lights and the three predefined lists.
std::string show(const AppState &state);
std::string diff(const AppState &a, const std::vector<ProfileDiff::Difference> &differences);
std::string counters(const AppState &state);

} // namespace JsonReport
