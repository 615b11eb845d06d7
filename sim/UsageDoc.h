#pragma once

#include <string>
#include <vector>

// A program's command-line documentation as data, so that its --help and its manual page are
// made from one source and no entry can run into the next: every option or command is an
// entry of its own, with a term and its paragraphs.
struct UsageEntry {
    std::string term;                // "--variant N", "show IN [--json]"
    std::vector<std::string> text;   // paragraphs
    std::vector<UsageEntry> entries; // nested: a command's options, an option's values
};

struct UsageSection {
    std::string title;               // "Commands", "Exit status"
    std::vector<std::string> before; // paragraphs before the entries
    std::vector<UsageEntry> entries;
    std::vector<std::string> after; // paragraphs after them
};

struct UsageDoc {
    std::string program;               // "quillo-cli"
    std::string summary;               // what it is, in a few words (the page's NAME line)
    std::vector<std::string> synopsis; // "quillo-cli [--sim N] COMMAND [ARGS]", one per form
    std::vector<std::string> description;
    std::vector<UsageSection> sections;
};

namespace UsageText {

constexpr int Width = 79;

// `text` broken into lines of at most Width columns (where words allow), the first indented
// by `first` spaces, the others by `rest`.
std::string wrapped(const std::string &text, int first, int rest);
// Entries as a two-column list: the term at `indent`, its text from `column` on, or on the
// next line when the term is longer; nested entries further in.
std::string entries(const std::vector<UsageEntry> &list, int indent, int column);
// The whole document as --help prints it.
std::string help(const UsageDoc &doc);

} // namespace UsageText
