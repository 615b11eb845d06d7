#pragma once

#include "Export.h"

#include <optional>
#include <string>

namespace quillodev {

// Why the keyboard that discovery finds first cannot be opened, although it is present.
struct OpenProblem {
    std::string node;          // what was opened, e.g. "/dev/hidraw3"
    bool accessDenied = false; // the system refused this user (as opposed to another failure)
    std::string reason;        // the system's own words, e.g. "Permission denied"
};

// Whether the first matching interface of a fresh enumeration can be opened for reading and
// writing: nothing when it can, when there is none, or when the backend cannot tell. It is
// opened and closed again at once; no report is exchanged.
QUILLODEV_EXPORT std::optional<OpenProblem> keyboardOpenProblem();

} // namespace quillodev
