#pragma once

#include "profile/ProfileFile.h"

#include <string>

// What the main window tells when a profile could not be saved or opened. UTF-8; the path is
// shown as given.
class ProfileMessages {
public:
    // `reason` (may be empty) is the sentence of profileWriteFailureReason.
    static std::string saveFailed(const std::string &path, const std::string &reason, bool chinese);
    // Empty for a profile that was read.
    static std::string openFailed(ProfileReadResult result, const std::string &path, bool chinese);
};
