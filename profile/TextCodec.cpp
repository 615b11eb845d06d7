#include "profile/TextCodec.h"

#include "profile/LargeBuffer.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t Replacement = 0xFFFD;

const char *nativeUtf16()
{
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// Owns one iconv descriptor.
class Converter {
public:
    Converter(const std::string &to, const std::string &from)
        : m_cd(iconv_open(to.c_str(), from.c_str()))
    {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool valid() const { return m_cd != iconv_t(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Widens the ASCII bytes at the start of `bytes` into `out`, several at a time, and returns how
// many there were; it may stop a few short of the first other byte.
std::size_t widenAscii(const unsigned char *bytes, std::size_t size, char16_t *out)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        if (_mm_movemask_epi8(chunk) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(chunk, zero));
    }
#endif
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        if (word & 0x8080808080808080u)
            break;
        for (std::size_t k = 0; k < 8; ++k)
            out[i + k] = bytes[i + k];
    }
    return i;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when it is malformed.
std::size_t sequenceLength(std::string_view s, std::size_t i, char32_t &cp)
{
    const auto b = [&](std::size_t k) {
        return static_cast<unsigned char>(s[i + k]);
    };
    const unsigned char c = b(0);
    const std::size_t left = s.size() - i;
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF && left >= 2 && isContinuation(b(1))) {
        cp = char32_t(c & 0x1F) << 6 | (b(1) & 0x3F);
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF && left >= 3 && isContinuation(b(1)) && isContinuation(b(2))) {
        cp = char32_t(c & 0x0F) << 12 | char32_t(b(1) & 0x3F) << 6 | (b(2) & 0x3F);
        if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4 && left >= 4 && isContinuation(b(1)) && isContinuation(b(2))
        && isContinuation(b(3))) {
        cp = char32_t(c & 0x07) << 18 | char32_t(b(1) & 0x3F) << 12 | char32_t(b(2) & 0x3F) << 6
             | (b(3) & 0x3F);
        if (cp < 0x10000 || cp > 0x10FFFF)
            return 0;
        return 4;
    }
    return 0;
}

std::uint64_t unitsAt(std::u16string_view in, std::size_t i)
{
    std::uint64_t word;
    std::memcpy(&word, in.data() + i, sizeof word);
    return word;
}

// UTF-8 encoder that reports lone surrogates instead of hiding them. Documents can be large,
// so the exact size is counted first and the text written in place.
std::string utf16ToUtf8(std::u16string_view in, std::size_t &lost)
{
    const auto isHigh = [](char16_t u) {
        return u >= 0xD800 && u <= 0xDBFF;
    };
    const auto isLow = [](char16_t u) {
        return u >= 0xDC00 && u <= 0xDFFF;
    };
    std::size_t size = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        // Four ASCII units at a time: markup is mostly ASCII.
        while (i + 4 <= in.size() && !(unitsAt(in, i) & 0xFF80FF80FF80FF80u)) {
            size += 4;
            i += 4;
        }
        if (i >= in.size())
            break;
        const char16_t u = in[i];
        if (u < 0x80) {
            size += 1;
        } else if (u < 0x800) {
            size += 2;
        } else if (isHigh(u) && i + 1 < in.size() && isLow(in[i + 1])) {
            size += 4;
            ++i;
        } else {
            size += 3; // lone surrogates become U+FFFD, also three bytes
        }
    }
    // Names and step texts are mostly ASCII: copied unit by unit, without clearing first.
    if (size == in.size())
        return std::string(in.begin(), in.end());
    std::string out;
    LargeBuffer::prepare(out, size);
    char *o = out.data();
    for (std::size_t i = 0; i < in.size(); ++i) {
        while (i + 4 <= in.size() && !(unitsAt(in, i) & 0xFF80FF80FF80FF80u)) {
            for (std::size_t k = 0; k < 4; ++k)
                o[k] = char(in[i + k]);
            o += 4;
            i += 4;
        }
        if (i >= in.size())
            break;
        const char16_t u = in[i];
        if (u < 0x80) {
            *o++ = char(u);
            continue;
        }
        char32_t cp = u;
        if (isHigh(u) && i + 1 < in.size() && isLow(in[i + 1])) {
            cp = 0x10000 + (char32_t(u - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            cp = Replacement;
            ++lost;
        }
        if (cp < 0x800) {
            *o++ = char(0xC0 | (cp >> 6));
            *o++ = char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *o++ = char(0xE0 | (cp >> 12));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        } else {
            *o++ = char(0xF0 | (cp >> 18));
            *o++ = char(0x80 | ((cp >> 12) & 0x3F));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace

std::u16string TextCodec::fromUtf8(std::string_view utf8)
{
    // Decoded a piece at a time and appended, so that the text is written once instead of being
    // cleared first. Never more units than bytes: room is reserved for all of them.
    std::u16string out;
    LargeBuffer::reserve(out, utf8.size());
    constexpr std::size_t Piece = 2048;
    char16_t piece[Piece + 2]; // a sequence that starts in the piece may add a pair past it
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf8.data());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t stop = std::min(utf8.size(), i + Piece);
        char16_t *o = piece;
        while (i < stop) {
            // Markup is mostly ASCII.
            const std::size_t ascii = widenAscii(bytes + i, stop - i, o);
            i += ascii;
            o += ascii;
            if (i >= stop)
                break;
            if (bytes[i] < 0x80) {
                *o++ = bytes[i++];
                continue;
            }
            char32_t cp = 0;
            const std::size_t n = sequenceLength(utf8, i, cp);
            if (n == 0) {
                *o++ = Replacement;
                ++i;
            } else if (cp < 0x10000) {
                *o++ = char16_t(cp);
                i += n;
            } else {
                cp -= 0x10000;
                *o++ = char16_t(0xD800 + (cp >> 10));
                *o++ = char16_t(0xDC00 + (cp & 0x3FF));
                i += n;
            }
        }
        out.append(piece, std::size_t(o - piece));
    }
    return out;
}

std::string TextCodec::toUtf8(std::u16string_view utf16)
{
    std::size_t lost = 0;
    return utf16ToUtf8(utf16, lost);
}

void TextCodec::appendUtf16(std::u16string &out, char32_t cp)
{
    if (cp < 0x10000) {
        out += char16_t(cp);
    } else {
        cp -= 0x10000;
        out += char16_t(0xD800 + (cp >> 10));
        out += char16_t(0xDC00 + (cp & 0x3FF));
    }
}

bool TextCodec::isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t n = sequenceLength(bytes, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string TextCodec::ansiCharset()
{
    const char *codeset = nl_langinfo(CODESET);
    if (codeset && *codeset && !isUtf8(codeset) && std::strcmp(codeset, "ANSI_X3.4-1968") != 0
        && Converter(nativeUtf16(), codeset).valid()) {
        return codeset;
    }
    return "CP1252";
}

bool TextCodec::isUtf8(std::string_view name)
{
    return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

bool TextCodec::decode(std::string_view bytes, std::string_view iconvName, std::u16string &out,
                       std::size_t &lost)
{
    out.clear();
    if (isUtf8(iconvName)) {
        out = fromUtf8(bytes);
        lost = 0;
        return true;
    }
    Converter conv(nativeUtf16(), std::string(iconvName));
    if (!conv.valid())
        return false;
    out.resize(bytes.size() + 16);
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t produced = 0;
    while (true) {
        char *outPtr = reinterpret_cast<char *>(out.data() + produced);
        std::size_t outLeft = (out.size() - produced) * sizeof(char16_t);
        const std::size_t rc
            = iconv(conv.get(), inLeft ? &in : nullptr, &inLeft, &outPtr, &outLeft);
        produced = out.size() - outLeft / sizeof(char16_t);
        if (rc != std::size_t(-1)) {
            if (inLeft == 0)
                break;
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
        } else if (errno == EILSEQ || errno == EINVAL) {
            // Skip the byte the charset does not define (or a truncated last sequence).
            if (produced + 1 > out.size())
                out.resize(out.size() * 2 + 16);
            out[produced++] = Replacement;
            ++lost;
            ++in;
            --inLeft;
            if (inLeft == 0)
                break;
        } else {
            break;
        }
    }
    out.resize(produced);
    return true;
}

bool TextCodec::encode(std::u16string_view text, std::string_view iconvName, std::string &out,
                       std::size_t &lost)
{
    out.clear();
    if (isUtf8(iconvName)) {
        out = utf16ToUtf8(text, lost);
        return true;
    }
    Converter conv(std::string(iconvName), nativeUtf16());
    if (!conv.valid())
        return false;
    out.resize(text.size() * 2 + 16);
    char *in = reinterpret_cast<char *>(const_cast<char16_t *>(text.data()));
    std::size_t inLeft = text.size() * sizeof(char16_t);
    std::size_t produced = 0;
    bool flushed = false;
    while (true) {
        char *outPtr = out.data() + produced;
        std::size_t outLeft = out.size() - produced;
        // After the text, one more call writes any shift sequence a stateful charset needs.
        const std::size_t rc = inLeft ? iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft)
                                      : iconv(conv.get(), nullptr, nullptr, &outPtr, &outLeft);
        produced = out.size() - outLeft;
        if (rc != std::size_t(-1)) {
            if (inLeft == 0) {
                if (flushed)
                    break;
                flushed = true;
            }
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
        } else if (errno == EILSEQ || errno == EINVAL) {
            // Not representable (or a lone surrogate): write '?' and step over the character.
            if (produced + 1 > out.size())
                out.resize(out.size() * 2 + 16);
            out[produced++] = '?';
            ++lost;
            const auto *unit = reinterpret_cast<const char16_t *>(in);
            std::size_t skip = sizeof(char16_t);
            if (*unit >= 0xD800 && *unit <= 0xDBFF && inLeft >= 2 * sizeof(char16_t)
                && unit[1] >= 0xDC00 && unit[1] <= 0xDFFF) {
                skip *= 2;
            }
            skip = std::min(skip, inLeft);
            in += skip;
            inLeft -= skip;
        } else {
            break;
        }
    }
    out.resize(produced);
    return true;
}
