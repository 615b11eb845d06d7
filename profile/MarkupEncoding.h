#pragma once

#include "profile/ResultLog.h"

#include <string>
#include <string_view>

// Turns the bytes of a file into document text and back, following byte order marks, the
// XML declaration's encoding and a UTF-8 test.
namespace MarkupEncoding {

std::u16string decode(std::string_view bytes, ResultLog &log);

struct EncodeOptions {
    bool utf8Bom = false;
    bool utf16 = false;
};
// Encodes in the encoding the text's own declaration names (UTF-8 without one).
std::string encode(std::u16string_view text, EncodeOptions options, ResultLog &log);

// Value of the encoding attribute of a leading "<?xml ...?>" declaration, or empty.
std::string declaredEncoding(std::string_view head);
std::string declaredEncoding(std::u16string_view head);

} // namespace MarkupEncoding
