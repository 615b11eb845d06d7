#include "sim/FaultOption.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace quillosim {

namespace {

constexpr std::size_t NameWidth = 16;

constexpr std::array<FaultOption::Mode, 9> Modes{{
    {"unplug", "unplugged at the next report, either way, for good",
     [](SimFaults &f) {
         f.failWriteAt = 1;
         f.failReadAt = 1;
     }},
    {"write-fails", "the next report written fails and unplugs the keyboard",
     [](SimFaults &f) {
         f.failWriteAt = 1;
     }},
    {"read-fails", "the next read fails and unplugs the keyboard",
     [](SimFaults &f) {
         f.failReadAt = 1;
     }},
    {"silence", "nothing is answered any more",
     [](SimFaults &f) {
         f.silent = true;
     }},
    {"garbage", "answers are random reports that never end an exchange",
     [](SimFaults &f) {
         f.garbage = true;
     }},
    {"no-end", "answers lack their end report",
     [](SimFaults &f) {
         f.noEndMarker = true;
     }},
    {"oversize", "answers are too long and claim more data than the areas hold",
     [](SimFaults &f) {
         f.oversize = true;
     }},
    {"foreign", "answers carry records and reports of kinds that do not exist",
     [](SimFaults &f) {
         f.foreignRecords = true;
     }},
    {"version-busy", "version reads fail",
     [](SimFaults &f) {
         f.versionBusy = true;
     }},
}};

std::string modeNames()
{
    std::string names;
    for (const FaultOption::Mode &mode : Modes) {
        if (!names.empty())
            names += ", ";
        names += mode.name;
    }
    return names;
}

} // namespace

std::span<const FaultOption::Mode> FaultOption::modes()
{
    return Modes;
}

bool FaultOption::parse(std::string_view text, SimFaults &faults, std::string &error)
{
    const std::size_t at = text.find('@');
    const std::string_view name = text.substr(0, at);
    const Mode *mode = nullptr;
    for (const Mode &candidate : Modes) {
        if (name == candidate.name)
            mode = &candidate;
    }
    if (!mode) {
        error = "unknown fault \"" + std::string(name) + "\" (one of " + modeNames() + ")";
        return false;
    }
    int after = 0;
    if (at != std::string_view::npos) {
        const std::string_view count = text.substr(at + 1);
        // from_chars alone would take a sign and stop at the first stray character.
        const bool digits = !count.empty() && count.find_first_not_of("0123456789") == count.npos;
        const auto [end, problem]
            = std::from_chars(count.data(), count.data() + count.size(), after);
        if (!digits || problem != std::errc() || end != count.data() + count.size()
            || after > MaxReports) {
            error = "the count after @ is a number of reports from 0 to "
                    + std::to_string(MaxReports) + ", not \"" + std::string(count) + "\"";
            return false;
        }
    }
    SimFaults result;
    mode->apply(result);
    result.afterReports = after;
    faults = result;
    return true;
}

std::string FaultOption::describeModes(int indent)
{
    std::string text;
    for (const Mode &mode : Modes) {
        std::string line(std::size_t(indent), ' ');
        line += mode.name;
        line.resize(std::max(line.size() + 1, std::size_t(indent) + NameWidth), ' ');
        text += line + mode.description + "\n";
    }
    return text;
}

} // namespace quillosim
