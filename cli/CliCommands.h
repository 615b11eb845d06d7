#pragma once

#include "sim/UsageDoc.h"

#include <span>
#include <string>
#include <string_view>

// quillo-cli's commands as data: what each takes, for the parser, and what it does, for
// `quillo-cli --help`, `quillo-cli COMMAND --help` and the manual page, all made from here.
namespace CliCommands {

struct Option {
    const char *term; // "-o OUT"
    const char *text;
};

struct Command {
    const char *name;
    const char *arguments; // after the name, as the synopsis shows them
    const char *summary;
    std::span<const Option> options;
    std::span<const char *const> details; // paragraphs
    const char *input;                    // "IN", "A", "FILE", or none
    bool output;                          // takes -o OUT, and needs it
    int variant;                          // --variant N: 0 not taken, 1 taken, 2 needed
};

std::span<const Command> all();
const Command *find(std::string_view name);

// "quillo-cli [--sim N] [--trace FILE] show IN [--variant N] [--json]"
std::string synopsis(const Command &command);
// The text of `quillo-cli --help`, of `quillo-cli COMMAND --help`.
std::string overview();
std::string help(const Command &command);
// Everything, for the manual page.
UsageDoc manual();

} // namespace CliCommands
