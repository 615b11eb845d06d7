#pragma once

#include <string>

// What Quillo says while it looks for a keyboard and while it works without one (UTF-8).
namespace OfflineTexts {

// The searching window, both languages at once: the language is not chosen yet.
std::string searchingChinese();
std::string searchingEnglish();
std::string searchingTitle();
std::string cancelCaption();

// Under "Keyboard is not connected!" when none was found: the offer to work offline, both
// languages, and the button that ends instead.
std::string offlineOffer();
std::string exitCaption();

// A device command while offline, after "Keyboard is not connected!".
std::string refusal(int deviceType, bool chinese);
// The keyboard of the chosen model arrived, or one of another model.
std::string connected(int deviceType, bool chinese);
std::string otherModel(int pluggedIn, int deviceType, bool chinese);
// The keyboard went away in a session that began offline, after "Keyboard is not connected".
std::string backOffline(bool chinese);
// The badge beside the model name.
std::string badge(bool chinese);

} // namespace OfflineTexts
