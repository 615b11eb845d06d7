#pragma once

#include "profile/MarkupError.h"

#include <algorithm>
#include <string>
#include <vector>

// A good profile broken in the ways files are found broken, for the tests of the reader, the
// window and quillo-cli. Texts are UTF-8 as on disk.
struct BrokenProfile {
    std::string kind;
    std::string text;
    MarkupProblem problem;
    int line;            // where the first problem is told
    std::string tagName; // named in the problem
    int firstLostKey;    // keys from here on are not in the file; 109 when all are
};

inline int linesBefore(const std::string &text, std::size_t offset)
{
    return 1 + int(std::count(text.begin(), text.begin() + std::ptrdiff_t(offset), '\n'));
}

// `good` must be a profile written by the program, so that its layout is known.
inline std::vector<BrokenProfile> brokenProfiles(const std::string &good)
{
    std::vector<BrokenProfile> result;
    const std::string macroEnd = "</PredefinedMacro>\r\n";
    const std::size_t afterMacros = good.find(macroEnd) + macroEnd.size();
    result.push_back(
        {"stray end tag", good.substr(0, afterMacros) + macroEnd + good.substr(afterMacros),
         MarkupProblem::LoneEndTag, linesBefore(good, afterMacros), "PredefinedMacro", 109});
    result.push_back({"unterminated comment", good + "<!-- saved by hand\r\n",
                      MarkupProblem::UnclosedComment, linesBefore(good, good.size()), "", 109});
    result.push_back({"second root", good + "<Extra/>\r\n", MarkupProblem::SecondRoot,
                      linesBefore(good, good.size()), "Extra", 109});
    const std::size_t key60 = good.find("<KEY ID=\"60\"");
    const std::string cut = good.substr(0, key60);
    result.push_back({"cut off", cut, MarkupProblem::EndsInsideElement,
                      linesBefore(cut, cut.size() - 1), "CurrentSettings", 60});
    result.push_back({"cut inside a tag", good.substr(0, key60 + 10), MarkupProblem::UnfinishedTag,
                      linesBefore(good, key60), "KEY", 60});
    return result;
}
