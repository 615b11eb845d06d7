#include "profile/MarkupText.h"

#include "profile/HtmlEntities.h"
#include "profile/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

namespace {

char16_t lowerAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// Value of a numeric reference body ("#123" or "#x7B"), or -1.
long numericReference(std::u16string_view body)
{
    if (body.size() < 2 || body[0] != u'#')
        return -1;
    const bool hex = body[1] == u'x' || body[1] == u'X';
    const std::size_t from = hex ? 2 : 1;
    if (from >= body.size())
        return -1;
    long value = 0;
    for (std::size_t i = from; i < body.size(); ++i) {
        const char16_t c = body[i];
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return -1;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF)
            return -1;
    }
    return value;
}

} // namespace

bool MarkupText::sameNameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

namespace {

// Looks for `name` among the attributes that begin between `begin` and `end` of the tag.
MarkupText::AttributeSpan scanAttributes(std::u16string_view tag, std::size_t begin,
                                         std::size_t end, std::u16string_view name, bool ignoreCase)
{
    MarkupText::AttributeSpan span;
    std::size_t i = begin;
    while (i < end && MarkupText::nextAttribute(tag, i, span)) {
        if (span.begin >= end)
            break;
        if (MarkupText::sameName(tag.substr(span.begin, span.nameEnd - span.begin), name,
                                 ignoreCase)) {
            span.found = true;
            return span;
        }
    }
    return {};
}

} // namespace

MarkupText::AttributeSpan MarkupText::findAttribute(std::u16string_view tag,
                                                    std::u16string_view name, bool ignoreCase,
                                                    std::size_t from)
{
    if (name.empty())
        return {};
    if (from > 1 && from < tag.size()) {
        const AttributeSpan span = scanAttributes(tag, from, tag.size(), name, ignoreCase);
        if (span.found)
            return span;
    } else {
        from = tag.size();
    }
    // Skip "<" and the element's name.
    const std::size_t first = 1 + nameLength(tag, 1);
    return scanAttributes(tag, first, std::max(from, first), name, ignoreCase);
}

namespace {

// Reads the attributes as the program writes them: all of those asked for, in that order, each
// as ' ' name '=' '"' value '"' right after the element's name. False for anything else, which
// the general scan then reads (and reads alike where this one succeeds).
bool readWrittenAttributes(std::u16string_view tag, std::span<const std::u16string_view> names,
                           std::span<std::u16string_view> values, std::size_t count)
{
    std::size_t i = 1 + MarkupText::nameLength(tag, 1);
    for (std::size_t k = 0; k < count; ++k) {
        const std::u16string_view name = names[k];
        const std::size_t value = i + name.size() + 3;
        if (name.empty() || value > tag.size() || tag[i] != u' ' || tag[value - 2] != u'='
            || tag[value - 1] != u'"'
            || std::memcmp(tag.data() + i + 1, name.data(), name.size() * sizeof(char16_t)) != 0)
            return false;
        const std::size_t close = MarkupText::findUnit(tag, u'"', value);
        if (close == std::u16string_view::npos)
            return false;
        values[k] = tag.substr(value, close - value);
        i = close + 1;
    }
    return true;
}

} // namespace

void MarkupText::readAttributes(std::u16string_view tag, std::span<const std::u16string_view> names,
                                std::span<std::u16string_view> values, bool ignoreCase)
{
    const std::size_t count = std::min(names.size(), values.size());
    for (auto &value : values)
        value = {};
    if (!ignoreCase && readWrittenAttributes(tag, names, values, count))
        return;
    for (auto &value : values)
        value = {};
    std::size_t left = count;
    std::size_t expected = 0; // attributes usually come in the order asked for
    std::size_t i = 1 + nameLength(tag, 1);
    AttributeSpan span;
    while (left > 0 && nextAttribute(tag, i, span)) {
        const std::u16string_view name = tag.substr(span.begin, span.nameEnd - span.begin);
        std::size_t at = expected;
        for (std::size_t k = 0; k < count; ++k, ++at) {
            if (at == count)
                at = 0;
            if (values[at].data() == nullptr && sameName(name, names[at], ignoreCase)) {
                values[at] = tag.substr(span.valueBegin, span.valueEnd - span.valueBegin);
                expected = at + 1 == count ? 0 : at + 1;
                --left;
                break;
            }
        }
    }
}

void MarkupText::appendEscaped(std::u16string &out, std::u16string_view value)
{
    for (const char16_t c : value) {
        switch (c) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        case u'\'':
            out += u"&apos;";
            break;
        default:
            out += c;
        }
    }
}

std::u16string MarkupText::escape(std::u16string_view value)
{
    std::u16string out;
    out.reserve(value.size() + 8);
    appendEscaped(out, value);
    return out;
}

std::u16string MarkupText::unescape(std::u16string_view value)
{
    std::u16string out;
    std::size_t at = value.find(u'&');
    if (at == std::u16string_view::npos)
        return std::u16string(value);
    out.reserve(value.size());
    std::size_t done = 0;
    // Entity names are at most 8 letters, numeric references at most "#x10FFFF" and zeros.
    constexpr std::size_t LongestBody = 32;
    while (at != std::u16string_view::npos) {
        out.append(value.substr(done, at - done));
        done = at;
        const std::size_t semi = value.substr(at + 1, LongestBody + 1).find(u';');
        long cp = -1;
        if (semi != std::u16string_view::npos) {
            const std::u16string_view body = value.substr(at + 1, semi);
            if (body == u"amp")
                cp = '&';
            else if (body == u"lt")
                cp = '<';
            else if (body == u"gt")
                cp = '>';
            else if (body == u"quot")
                cp = '"';
            else if (body == u"apos")
                cp = '\'';
            else if (!body.empty() && body[0] == u'#')
                cp = numericReference(body);
            else
                cp = HtmlEntities::codePoint(body);
        }
        // Surrogate halves and NUL are no characters; such references stay as written.
        if (cp > 0 && !(cp >= 0xD800 && cp <= 0xDFFF)) {
            TextCodec::appendUtf16(out, char32_t(cp));
            done = at + 1 + semi + 1;
        } else {
            out += u'&';
            done = at + 1;
        }
        at = value.find(u'&', done);
    }
    out.append(value.substr(done));
    return out;
}
