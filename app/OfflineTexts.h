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

// The headline of the offline messages: "Keyboard is not connected!" with the mark, as a
// refused command says it, or without, as when the keyboard went away.
std::string notConnected(bool exclaimed, bool chinese);
// Above the offer: both languages, as the offer itself.
std::string offerHeadline();

// A device command while offline, after the headline.
std::string refusal(int deviceType, bool chinese);
// The keyboard of the chosen model arrived, or one of another model.
std::string connected(int deviceType, bool chinese);
std::string otherModel(int pluggedIn, int deviceType, bool chinese);
// The keyboard went away in a session that began offline, after the headline.
std::string backOffline(bool chinese);
// The badge beside the model name.
std::string badge(bool chinese);

} // namespace OfflineTexts
