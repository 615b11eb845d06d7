#pragma once

#include <quillodev/FirmwareCheck.h>
#include <quillodev/MessageTarget.h>

#include <vector>

class CKeyboardUtil;

namespace quillodev {

// A firmware image in Intel HEX text, checked whole before anything is sent: a keyboard given
// half an image is worse off than one given none.
class FirmwareImage {
public:
    static constexpr int MaxLineLength = 999;
    // The report carries 0x00, the colon and then this many bytes of a record.
    static constexpr int MaxRecordBytes = 62;

    using Check = FirmwareCheck;

    // Decodes every record of `text` (at most `length` bytes, ending early at a zero byte).
    static Check parse(const char *text, int length,
                       std::vector<std::vector<unsigned char>> &records);

    // Sends one report per record, posting progress 0..ProgressScale; nothing is sent for a refused
    // text.
    static bool download(CKeyboardUtil &transport, const char *text, int length,
                         WindowHandle window);
};

} // namespace quillodev
