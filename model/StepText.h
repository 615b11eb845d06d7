#pragma once

#include <string>

class KeyCatalogue;

// The text forms of the steps of combinations, macros and emulations, and their values for
// the keyboard. A key step is a key name, optionally followed by " Down" or " UP"; a delay
// step is "<N ms>".
namespace StepText {

constexpr const char *DownSuffix = " Down";
constexpr const char *UpSuffix = " UP";

// Display text of a HookKeyCode; with `withSuffix`, " Down" for a press and " UP" for a release.
std::string stepText(const KeyCatalogue &catalogue, int hookKey, bool withSuffix);
// "<N ms>".
std::string delayStep(int ms);
// True for "<...>" texts that end in " ms>".
bool isDelayStep(const std::string &text);
// The text between "<" and " ms>" of a delay step, or "" for other steps.
std::string delayDigits(const std::string &text);
// An optional sign and the digits after it, as the C library reads them; 0 when there are none,
// saturated instead of overflowing. How the editor's fields read what was typed.
int leadingInteger(const std::string &text);
// The device value of a step: a delay's milliseconds, a key name's device code, else 0.
int stepValue(const KeyCatalogue &catalogue, const std::string &text);

} // namespace StepText
