#pragma once

#include "sim/SimFaults.h"

#include <span>
#include <string>
#include <string_view>

namespace quillosim {

// The faults as a person names them on quillo-sim's command line: MODE or MODE@N, where N is
// the number of reports that cross the cable before the fault begins.
class FaultOption {
public:
    struct Mode {
        const char *name;
        const char *description;
        void (*apply)(SimFaults &faults);
    };

    static std::span<const Mode> modes();

    // Sets `faults` from `text`; false, with the reason in `error`, for an unknown mode or a
    // count that is not a whole number from 0 to MaxReports.
    static bool parse(std::string_view text, SimFaults &faults, std::string &error);

    // One line per mode for --help, each indented by `indent` spaces.
    static std::string describeModes(int indent);

    static constexpr int MaxReports = 1000000000;
};

} // namespace quillosim
