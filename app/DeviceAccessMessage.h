#pragma once

#include "app/ResourceLocator.h"

#include <quillodev/DeviceAccess.h>

#include <filesystem>
#include <string>

// What the program and quillo-cli say when a keyboard is present but cannot be opened: which
// device node, that this user has no access to it, and the command that gives it: installing
// the device rule where udev has none, else applying it.
namespace DeviceAccessMessage {

constexpr const char *RuleName = "70-quillo.rules";

struct RuleState {
    std::filesystem::path installed; // the rule udev reads, or empty
    std::filesystem::path shipped;   // a copy to install from (beside the program), or empty
};

// Looks for the rule in udev's folders under `root` and for a copy where the program's own
// files are.
RuleState findRule(const ResourceLocator &locator, const std::filesystem::path &root = "/");

// The shell command that gives the user at the computer access to the keyboards.
std::string command(const RuleState &rule);
// The program's message, in one language.
std::string text(const quillodev::OpenProblem &problem, int deviceType, const RuleState &rule,
                 bool chinese);
// quillo-cli's one line.
std::string line(const quillodev::OpenProblem &problem, const RuleState &rule);

} // namespace DeviceAccessMessage
