#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversions between the UTF-16 text of a document, the UTF-8 strings of the model and the
// byte encodings that files may declare.
namespace TextCodec {

// Malformed input becomes U+FFFD; neither direction fails.
std::u16string fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
void appendUtf16(std::u16string &out, char32_t codePoint);

bool isValidUtf8(std::string_view bytes);

// iconv name of the charset taken when a file declares none that is known and its bytes are
// not UTF-8: the locale's charset when that is a legacy one, else Windows-1252.
std::string ansiCharset();

bool isUtf8(std::string_view iconvName);

// Decodes bytes of an iconv charset to UTF-16. Bytes the charset does not define become
// U+FFFD and are counted in `lost`. False only when the charset cannot be opened.
bool decode(std::string_view bytes, std::string_view iconvName, std::u16string &out,
            std::size_t &lost);
// Encodes UTF-16 into an iconv charset. Characters it cannot represent become '?' and are
// counted in `lost`. False only when the charset cannot be opened.
bool encode(std::u16string_view text, std::string_view iconvName, std::string &out,
            std::size_t &lost);

} // namespace TextCodec
