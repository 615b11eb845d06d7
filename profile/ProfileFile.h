#pragma once

#include <filesystem>
#include <string_view>

class AppState;
class MarkupDocument;

// Outcome of reading a profile; everything but Ok leaves the configuration as it was.
enum class ProfileReadResult {
    Ok,
    CannotOpen,   // missing, unreadable or too large
    NotAProfile,  // not XML, or XML without a profile root
    Damaged,      // a profile of this keyboard whose markup is broken
    OtherVariant, // a profile of another keyboard model
};

// Root element name of a variant's profiles; 0 counts as 1.
std::u16string_view profileRootName(int deviceType);

// Saves the whole editable configuration (lists, lights, key assignments). The file is
// replaced only as a whole; false when it could not be written.
bool writeProfile(const AppState &state, const std::filesystem::path &path);
// Replaces the configuration with a profile's and forgets the press counters.
ProfileReadResult readProfile(AppState &state, const std::filesystem::path &path);

// The same on documents in memory.
bool buildProfile(const AppState &state, MarkupDocument &doc);
ProfileReadResult readProfileDocument(AppState &state, MarkupDocument &doc);

// Text the program shows for a failed read or write.
const char *profileReadMessage(ProfileReadResult result, bool chinese);
const char *profileWriteFailedMessage(bool chinese);
