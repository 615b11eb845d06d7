#include "cli/TerminalText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

// Length of the UTF-8 sequence at `at` and its code point; 0 when it is not valid UTF-8.
std::size_t decode(std::string_view text, std::size_t at, std::uint32_t &code)
{
    const auto byte = [&](std::size_t i) {
        return std::uint8_t(text[i]);
    };
    const std::uint8_t first = byte(at);
    if (first < 0x80) {
        code = first;
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if ((first & 0xE0) == 0xC0) {
        length = 2;
        code = first & 0x1F;
        minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3;
        code = first & 0x0F;
        minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4;
        code = first & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

std::string hex(const char *format, unsigned value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

namespace TerminalText {

std::string escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = decode(text, at, code);
        if (length == 0) {
            out += hex("\\x%02x", std::uint8_t(text[at]));
            ++at;
            continue;
        }
        if (code == '\t')
            out += "\\t";
        else if (code == '\n')
            out += "\\n";
        else if (code == '\r')
            out += "\\r";
        else if (code < 0x20 || code == 0x7F)
            out += hex("\\x%02x", code);
        else if (code >= 0x80 && code <= 0x9F)
            out += hex("\\u%04x", code);
        else
            out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

std::string jsonWithoutControls(std::string_view document)
{
    std::string out;
    out.reserve(document.size());
    for (std::size_t at = 0; at < document.size();) {
        std::uint32_t code = 0;
        const std::size_t decoded = decode(document, at, code);
        const std::size_t length = std::max<std::size_t>(decoded, 1);
        if (decoded != 0 && code >= 0x7F && code <= 0x9F)
            out += hex("\\u%04x", code);
        else
            out.append(document.substr(at, length));
        at += length;
    }
    return out;
}

} // namespace TerminalText
