#pragma once

#include <filesystem>
#include <functional>
#include <string>

class AppState;

// Opening a profile as the main window does: a profile of this keyboard with broken markup is
// read only when the user agrees to the question; other failures change nothing.
class ProfileOpening {
public:
    // Asks a yes/no question (UTF-8); true for Yes.
    using Ask = std::function<bool(const std::string &question)>;

    // The message to show afterwards (UTF-8), empty when there is none: the profile was read,
    // or the user chose not to read a damaged one. `shownPath` is the path as the user sees it.
    static std::string open(AppState &state, const std::filesystem::path &path,
                            const std::string &shownPath, const Ask &ask);
};
