#pragma once

#include <string>
#include <vector>

// Finding what a user meant by a name typed on the command line, and the closest valid names
// when nothing matches: a mistyped name is answered with a handful to choose from.
namespace NameSuggestions {

constexpr int Handful = 5;

// Whether two names are the same, ASCII letters compared without case.
bool sameName(const std::string &a, const std::string &b);
// Whether a name holds anything beyond ASCII: then it was given in Chinese.
bool isChinese(const std::string &name);
// Edit distance over code points (UTF-8), ASCII letters compared without case.
int distance(const std::string &a, const std::string &b);
// The candidates closest to `query`, best first, each once: those that contain it, then by
// edit distance, ties in the candidates' order; only near ones when there are any.
std::vector<std::string> closest(const std::string &query,
                                 const std::vector<std::string> &candidates, int count = Handful);
// "unknown WHAT 'QUERY'; closest: A, B, C" ("; there is none" without candidates).
std::string unknownText(const std::string &what, const std::string &query,
                        const std::vector<std::string> &candidates);

} // namespace NameSuggestions
