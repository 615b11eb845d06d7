#include "cli/NameSuggestions.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

char32_t folded(char32_t c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

// Code points of a UTF-8 text; a stray byte stands for itself, so nothing is dropped.
std::u32string codePoints(const std::string &text)
{
    std::u32string result;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = std::uint8_t(text[i]);
        int length = byte < 0x80         ? 1
                     : (byte >> 5) == 6  ? 2
                     : (byte >> 4) == 14 ? 3
                     : (byte >> 3) == 30 ? 4
                                         : 1;
        if (i + std::size_t(length) > text.size())
            length = 1;
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (std::uint8_t(text[i + std::size_t(k)]) & 0x3F);
        result += folded(c);
        i += std::size_t(length);
    }
    return result;
}

} // namespace

namespace NameSuggestions {

bool sameName(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && codePoints(a) == codePoints(b);
}

bool isChinese(const std::string &name)
{
    return std::any_of(name.begin(), name.end(), [](char c) { return std::uint8_t(c) >= 0x80; });
}

int distance(const std::string &a, const std::string &b)
{
    const std::u32string x = codePoints(a);
    const std::u32string y = codePoints(b);
    std::vector<int> row(y.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (std::size_t i = 1; i <= x.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] != y[j - 1])});
            diagonal = above;
        }
    }
    return row[y.size()];
}

std::vector<std::string> closest(const std::string &query,
                                 const std::vector<std::string> &candidates, int count)
{
    const std::u32string wanted = codePoints(query);
    struct Scored {
        bool contains;
        int distance;
        std::size_t order;
    };
    std::vector<Scored> scored;
    std::vector<std::string> unique;
    for (const std::string &candidate : candidates) {
        if (std::find(unique.begin(), unique.end(), candidate) != unique.end())
            continue;
        const bool contains
            = !wanted.empty() && codePoints(candidate).find(wanted) != std::u32string::npos;
        scored.push_back({contains, distance(query, candidate), unique.size()});
        unique.push_back(candidate);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const Scored &a, const Scored &b) {
        if (a.contains != b.contains)
            return a.contains;
        return a.distance < b.distance;
    });
    // Names that hold the query, else near ones, else (some valid names being better than
    // none) the nearest of all.
    const int near = std::max(2, int(wanted.size()) / 2);
    const bool anyContains = !scored.empty() && scored[0].contains;
    const bool anyNear = !scored.empty() && scored[0].distance <= near;
    std::vector<std::string> result;
    for (const Scored &entry : scored) {
        if (int(result.size()) == count || (anyContains && !entry.contains)
            || (!anyContains && anyNear && entry.distance > near))
            break;
        result.push_back(unique[entry.order]);
    }
    return result;
}

std::string unknownText(const std::string &what, const std::string &query,
                        const std::vector<std::string> &candidates)
{
    const std::vector<std::string> best = closest(query, candidates);
    std::string text = "unknown " + what + " '" + query + "'; ";
    if (best.empty())
        return text + "there is none";
    text += "closest: ";
    for (std::size_t i = 0; i < best.size(); ++i)
        text += (i ? ", " : "") + best[i];
    return text;
}

} // namespace NameSuggestions
