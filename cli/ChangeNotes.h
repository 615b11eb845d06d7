#pragma once

#include <string>
#include <vector>

class AppState;
struct ProfileValueChange;

// Lines for stderr about values that do not reach their destination as the profile states
// them: what reading a profile changed to fit, and what the keyboard gets other than the
// profile says (key, layer, field, from, to).
namespace ChangeNotes {

std::string readChange(const AppState &state, const ProfileValueChange &change);
// Every adjustment that writing the keys would make, one line each.
std::vector<std::string> writeAdjustments(const AppState &state);

} // namespace ChangeNotes
