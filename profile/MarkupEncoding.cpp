#include "profile/MarkupEncoding.h"

#include "profile/CharsetTable.h"
#include "profile/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr std::size_t HeadBytes = 1024;

template<typename Char>
std::string findDeclaredEncoding(std::basic_string_view<Char> head)
{
    std::size_t i = 0;
    while (i < head.size()
           && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    const auto startsAt = [&](std::size_t at, std::string_view word) {
        if (at + word.size() > head.size())
            return false;
        for (std::size_t k = 0; k < word.size(); ++k) {
            if (head[at + k] != Char(word[k]))
                return false;
        }
        return true;
    };
    if (!startsAt(i, "<?xml"))
        return {};
    for (std::size_t at = i + 5; at < head.size(); ++at) {
        if (startsAt(at, "?>"))
            return {};
        if (!startsAt(at, "encoding"))
            continue;
        std::size_t j = at + 8;
        while (j < head.size() && (head[j] == ' ' || head[j] == '\t'))
            ++j;
        if (j >= head.size() || head[j] != Char('='))
            continue;
        ++j;
        while (j < head.size() && (head[j] == ' ' || head[j] == '\t'))
            ++j;
        if (j >= head.size() || (head[j] != Char('"') && head[j] != Char('\'')))
            return {};
        const Char quote = head[j];
        std::string value;
        for (++j; j < head.size() && head[j] != quote; ++j) {
            if (head[j] > 0x7E || head[j] < 0x20 || value.size() >= 64)
                return {};
            value += char(head[j]);
        }
        return j < head.size() ? value : std::string();
    }
    return {};
}

// Encodings of 16 or 32-bit units, which a declaration read as bytes cannot really mean.
bool isWide(std::string_view iconvName)
{
    return iconvName.starts_with("UTF-16") || iconvName.starts_with("UTF-32")
           || iconvName.starts_with("UCS-");
}

std::u16string decodeWide(std::string_view bytes, bool bigEndian, ResultLog &log)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    std::size_t nulls = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto unit = char16_t(hi << 8 | lo);
        if (unit == 0)
            ++nulls;
        else
            text += unit;
    }
    if (bigEndian)
        log.add("endian_swap");
    if (nulls)
        log.add("nulls_removed", {{"count", std::to_string(nulls)}});
    log.add("converted_to", {{"encoding", "UTF-16"}, {"length", std::to_string(text.size())}});
    return text;
}

} // namespace

std::string MarkupEncoding::declaredEncoding(std::string_view head)
{
    return findDeclaredEncoding(head.substr(0, HeadBytes));
}

std::string MarkupEncoding::declaredEncoding(std::u16string_view head)
{
    return findDeclaredEncoding(head.substr(0, HeadBytes));
}

std::u16string MarkupEncoding::decode(std::string_view bytes, ResultLog &log)
{
    const std::string_view head = bytes.substr(0, HeadBytes);
    std::string encoding;
    if (head.starts_with("\xEF\xBB\xBF")) {
        encoding = "UTF-8";
        bytes.remove_prefix(3);
        log.add("bom", {{"encoding", "UTF-8"}});
    } else if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
        const bool bigEndian = head[0] == '\xFE';
        log.add("bom", {{"encoding", bigEndian ? "UTF-16BE" : "UTF-16LE"}});
        return decodeWide(bytes.substr(2), bigEndian, log);
    } else {
        encoding = declaredEncoding(head);
        if (encoding.empty() && head.starts_with('<'))
            encoding = "UTF-8";
    }

    std::string iconvName;
    if (!encoding.empty()) {
        iconvName = std::string(CharsetTable::iconvName(encoding));
        if (iconvName.empty()) {
            iconvName = TextCodec::ansiCharset();
            log.add("converted_to", {{"encoding", encoding}, {"msg", "unknown encoding"}});
        } else if (isWide(iconvName)) {
            iconvName.clear(); // found by reading bytes, so the bytes are not 16-bit units
        }
    }
    if (iconvName.empty()) {
        const bool utf8 = TextCodec::isValidUtf8(bytes);
        iconvName = utf8 ? "UTF-8" : TextCodec::ansiCharset();
        log.add("utf8_detection", {{"encoding", iconvName}});
    }

    std::string cleaned;
    const bool hasNulls = std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
    const std::size_t nulls
        = hasNulls ? std::size_t(std::count(bytes.begin(), bytes.end(), '\0')) : 0;
    if (nulls) {
        cleaned.reserve(bytes.size() - nulls);
        std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(cleaned),
                     [](char c) { return c != '\0'; });
        bytes = cleaned;
        log.add("nulls_removed", {{"count", std::to_string(nulls)}});
    }

    std::u16string text;
    std::size_t lost = 0;
    if (!TextCodec::decode(bytes, iconvName, text, lost)) {
        log.add("converted_to", {{"encoding", iconvName}, {"msg", "no converter"}});
        iconvName = "CP1252";
        lost = 0;
        if (!TextCodec::decode(bytes, iconvName, text, lost)) {
            iconvName = "ISO-8859-1"; // every byte is a character
            text.assign(bytes.begin(), bytes.end());
            for (char16_t &c : text)
                c = char16_t(static_cast<unsigned char>(c));
        }
    }
    if (lost) {
        log.add("converted_to", {{"encoding", iconvName},
                                 {"length", std::to_string(text.size())},
                                 {"count", std::to_string(lost)}});
    } else {
        log.add("converted_to", {{"encoding", iconvName}, {"length", std::to_string(text.size())}});
    }
    return text;
}

std::string MarkupEncoding::encode(std::u16string_view text, EncodeOptions options, ResultLog &log)
{
    std::string encoding = declaredEncoding(text);
    if (encoding.empty())
        encoding = "UTF-8";
    std::string iconvName(CharsetTable::iconvName(encoding));
    if (iconvName.empty())
        iconvName = TextCodec::ansiCharset();

    std::string bytes;
    if (options.utf16 || isWide(iconvName)) {
        // Written with a mark, the one form of 16-bit text that loading recognises.
        bytes.reserve(2 + text.size() * 2);
        bytes += "\xFF\xFE";
        for (const char16_t unit : text) {
            bytes += char(unit & 0xFF);
            bytes += char(unit >> 8);
        }
        log.add("converted_from",
                {{"encoding", "UTF-16LE"}, {"length", std::to_string(text.size())}});
        return bytes;
    }
    std::size_t lost = 0;
    if (!TextCodec::encode(text, iconvName, bytes, lost)) {
        iconvName = "UTF-8";
        TextCodec::encode(text, iconvName, bytes, lost);
    }
    if (options.utf8Bom && TextCodec::isUtf8(iconvName))
        bytes.insert(0, "\xEF\xBB\xBF");
    log.add("converted_from", {{"encoding", iconvName}, {"length", std::to_string(text.size())}});
    if (lost)
        log.add("conversion_loss", {{"encoding", iconvName}, {"count", std::to_string(lost)}});
    return bytes;
}
