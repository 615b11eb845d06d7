#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Small lexical helpers over UTF-16 markup text.
namespace MarkupText {

inline bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Length of the tag name that starts at text[offset]: up to white space, '/', '>', '<', '='
// or a quote.
std::size_t nameLength(std::u16string_view text, std::size_t offset);

bool sameName(std::u16string_view a, std::u16string_view b, bool ignoreCase);

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
bool nextAttribute(std::u16string_view tag, std::size_t &i, AttributeSpan &span);

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
