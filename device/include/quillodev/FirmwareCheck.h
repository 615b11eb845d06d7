#pragma once

#include "Export.h"

namespace quillodev {

// Why a firmware text is refused. WriteFirmwareToKeyboard makes the same check and sends
// nothing when it fails; the program asks first so that it can tell the user why.
enum class FirmwareFault {
    None,
    NoText,         // nothing to send
    NoStartRecord,  // the text does not begin with a colon
    NoLineEnds,     // not a single CR or LF in the whole text
    EmptyLine,      // an empty line before the end-of-file record
    LineTooLong,    // more than 999 characters
    NoColon,        // a line that does not start with a colon
    OddDigits,      // an odd number of hexadecimal digits
    NotHexadecimal, // a character that is not a hexadecimal digit
    CountMismatch,  // the record's byte count does not match its length
    BadChecksum,    // the record's bytes do not sum to zero
    RecordTooLong,  // more bytes than one report carries
    NoEndRecord,    // the text ends without an end-of-file record
    TextAfterEnd,   // records after the end-of-file record
    // Records the keyboard's loader refuses: it takes the six record types of Intel HEX only,
    // each at its own length, and an image that writes no data would leave the keyboard
    // without a program.
    UnknownRecordType, // a record type other than 00..05
    WrongTypeLength,   // an end-of-file, address or start record of the wrong length
    NoData,            // no data record before the end-of-file record (its line)
};

struct FirmwareCheck {
    FirmwareFault fault = FirmwareFault::None;
    int line = 0; // 1-based line of the fault; 0 for the text as a whole

    bool ok() const { return fault == FirmwareFault::None; }
};

// Checks a whole Intel HEX text (at most `length` bytes, ending early at a zero byte).
QUILLODEV_EXPORT FirmwareCheck checkFirmwareText(const char *text, int length);

} // namespace quillodev
