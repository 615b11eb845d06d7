#pragma once

#include <string>
#include <vector>

class AppState;

// quillo-cli set: one key of one layer changed through the key settings dialog's own model,
// as if the page were shown, the choice made there and OK clicked, so that the FN rule and the
// lists the dialog hands back are the window's.
namespace KeyEdit {

struct Request {
    std::string key;   // a key name or number
    std::string layer; // "top" or "fn"
    std::string kind;  // single, combo, macro, emulation, multimedia, mouse, function, power,
                       // default, clear
    std::string value; // the name the kind takes; empty for default and clear
};

// What came of it: refused (bad usage, the configuration unchanged) with the reason, or done
// with notes for the user.
struct Result {
    std::string error;
    std::vector<std::string> notes;
    explicit operator bool() const { return error.empty(); }
};

Result apply(AppState &state, const Request &request);

} // namespace KeyEdit
