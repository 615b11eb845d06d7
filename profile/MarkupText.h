#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Small lexical helpers over UTF-16 markup text.
namespace MarkupText {

inline bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

namespace Detail {
// Every character that ends a name is below 64: one bit each.
inline constexpr std::uint64_t nameEnds = [] {
    std::uint64_t mask = 0;
    for (const char c : {' ', '\t', '\r', '\n', '/', '>', '<', '=', '"', '\''})
        mask |= std::uint64_t(1) << c;
    return mask;
}();
} // namespace Detail

inline bool isNameEnd(char16_t c)
{
    return c < 64 && (Detail::nameEnds >> c) & 1;
}

// Length of the tag name that starts at text[offset]: up to white space, '/', '>', '<', '='
// or a quote.
inline std::size_t nameLength(std::u16string_view text, std::size_t offset)
{
    std::size_t i = offset;
#if defined(__SSE2__)
    // Eight units at a time up to the first that could end a name: every such unit is below 64
    // (units from 0x8000 up compare below as well and are looked at one by one).
    const __m128i limit = _mm_set1_epi16(64);
    while (i + 8 <= text.size()) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text.data() + i));
        const int below = _mm_movemask_epi8(_mm_cmplt_epi16(units, limit));
        if (below != 0) {
            i += std::size_t(std::countr_zero(unsigned(below))) / 2;
            break;
        }
        i += 8;
    }
#endif
    while (i < text.size() && !isNameEnd(text[i]))
        ++i;
    return i - offset;
}

// Offset of the first `c` at or after `from`, or npos: a plain loop for the short stretches
// between quotes.
inline std::size_t findUnit(std::u16string_view text, char16_t c, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == c)
            return i;
    }
    return std::u16string_view::npos;
}

bool sameNameIgnoringCase(std::u16string_view a, std::u16string_view b);
inline bool sameName(std::u16string_view a, std::u16string_view b, bool ignoreCase)
{
    return ignoreCase ? sameNameIgnoringCase(a, b) : a == b;
}

// Where an attribute lies inside a start tag: the whole "name=value" and its value without
// quotes. `found` is false when the tag has no such attribute.
struct AttributeSpan {
    bool found = false;
    std::size_t begin = 0; // first character of the name
    std::size_t nameEnd = 0;
    std::size_t end = 0;        // just past the value (and its closing quote)
    std::size_t valueBegin = 0; // inside the quotes
    std::size_t valueEnd = 0;
    bool unterminated = false; // the value's closing quote is missing
};
// The search starts at `from` (an offset in the tag where an attribute begins, or 0) and
// wraps around, so that reading attributes in their written order looks at each only once.
AttributeSpan findAttribute(std::u16string_view startTag, std::u16string_view name, bool ignoreCase,
                            std::size_t from = 0);

// Reads the attribute at or after tag[i] and moves i past it; false at the end of the tag,
// with i at its '>', "/>" or a '<' that breaks it. Parsing and attribute access both use
// this, so that they always agree on where a tag ends.
inline bool nextAttribute(std::u16string_view tag, std::size_t &i, AttributeSpan &span)
{
    const std::size_t n = tag.size();
    while (i < n && (isSpace(tag[i]) || (tag[i] == u'/' && (i + 1 >= n || tag[i + 1] != u'>'))))
        ++i;
    if (i >= n || tag[i] == u'>' || tag[i] == u'<' || tag[i] == u'/')
        return false;
    span.begin = i;
    span.unterminated = false;
    // A stray quote or '=' counts as a one-character name, so that scanning always advances.
    i += std::max<std::size_t>(nameLength(tag, i), 1);
    span.nameEnd = i;
    std::size_t j = i;
    while (j < n && isSpace(tag[j]))
        ++j;
    if (j < n && tag[j] == u'=') {
        const std::size_t afterEquals = ++j;
        while (j < n && isSpace(tag[j]))
            ++j;
        if (j != afterEquals && !(j < n && (tag[j] == u'"' || tag[j] == u'\''))) {
            // "a= b": a has an empty value and b is the next attribute.
            span.valueBegin = span.valueEnd = afterEquals;
            i = afterEquals;
        } else if (j < n && (tag[j] == u'"' || tag[j] == u'\'')) {
            span.valueBegin = j + 1;
            std::size_t k = tag.find(tag[j], j + 1);
            if (k == std::u16string_view::npos) {
                span.unterminated = true;
                k = std::max(n, j + 2) - 1; // up to the closing '>'
            }
            span.valueEnd = k;
            i = std::min(k + 1, n);
        } else {
            // Unquoted: up to white space or the end of the tag.
            span.valueBegin = j;
            while (j < n && !isSpace(tag[j]) && tag[j] != u'>' && tag[j] != u'<'
                   && !(tag[j] == u'/' && j + 1 < n && tag[j + 1] == u'>'))
                ++j;
            span.valueEnd = j;
            i = j;
        }
    } else {
        span.valueBegin = span.valueEnd = i; // attribute without a value
    }
    span.end = i;
    return true;
}

// Skips the attributes at tag[i] that are written as the program writes them, ' ' name '='
// '"' value '"', and returns where the first other one (or the tag's end) begins. From there
// nextAttribute reads on exactly as if it had read the skipped ones itself, only slower.
inline std::size_t skipWrittenAttributes(std::u16string_view tag, std::size_t i)
{
    const std::size_t n = tag.size();
    while (i + 1 < n && tag[i] == u' ' && !isNameEnd(tag[i + 1])) {
        const std::size_t j = i + 1 + nameLength(tag, i + 1);
        if (j + 1 >= n || tag[j] != u'=' || tag[j + 1] != u'"')
            break;
        const std::size_t close = findUnit(tag, u'"', j + 2);
        if (close == std::u16string_view::npos)
            break;
        i = close + 1;
    }
    return i;
}

// Raw values of several attributes in one pass over a start tag; a missing one stays a null
// view, a present but empty one is an empty view into the tag.
void readAttributes(std::u16string_view startTag, std::span<const std::u16string_view> names,
                    std::span<std::u16string_view> values, bool ignoreCase);

// Attribute values as written: & < > " ' become the five references.
std::u16string escape(std::u16string_view value);
void appendEscaped(std::u16string &out, std::u16string_view value);
// The five references, &#decimal; &#xhex; and the HTML 4 entities are decoded; anything else
// stays as written.
std::u16string unescape(std::u16string_view value);

} // namespace MarkupText
