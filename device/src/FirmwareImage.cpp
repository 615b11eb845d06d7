#include "device/src/FirmwareImage.h"

#include <quillodev/CKeyboardUtil.h>

#include <algorithm>
#include <cstring>

namespace quillodev {

namespace {

enum RecordType : unsigned char {
    DataRecord = 0x00,
    EndOfFileRecord = 0x01,
    ExtendedSegmentRecord = 0x02,
    StartSegmentRecord = 0x03,
    ExtendedLinearRecord = 0x04,
    StartLinearRecord = 0x05,
};

// The byte count a record of `type` must have; -1 for data, which may have any.
int lengthOfType(unsigned char type)
{
    switch (type) {
    case EndOfFileRecord:
        return 0;
    case ExtendedSegmentRecord:
    case ExtendedLinearRecord:
        return 2;
    case StartSegmentRecord:
    case StartLinearRecord:
        return 4;
    default:
        return -1;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

FirmwareCheck fault(int line, FirmwareFault why)
{
    return {why, line};
}

} // namespace

FirmwareImage::Check FirmwareImage::parse(const char *text, int length,
                                          std::vector<std::vector<unsigned char>> &records)
{
    records.clear();
    if (!text || length <= 0)
        return fault(0, FirmwareFault::NoText);
    // Never read past `length`, even when the caller's text is not terminated.
    const char *end = static_cast<const char *>(std::memchr(text, '\0', size_t(length)));
    if (!end)
        end = text + length;
    if (text == end || text[0] != ':')
        return fault(1, FirmwareFault::NoStartRecord);
    // Lines end in CR LF, CR or LF, mixed as editors and version control leave them.
    const auto isLineEnd = [](char c) {
        return c == '\r' || c == '\n';
    };
    if (std::none_of(text, end, isLineEnd))
        return fault(0, FirmwareFault::NoLineEnds);

    bool endSeen = false;
    bool dataSeen = false;
    int lineNumber = 0;
    for (const char *pos = text; pos < end;) {
        const char *lineEnd = std::find_if(pos, end, isLineEnd);
        const int lineLength = int(lineEnd - pos);
        ++lineNumber;
        if (endSeen) {
            // Only further line ends may follow the end-of-file record.
            if (!std::all_of(pos, end, isLineEnd))
                return fault(lineNumber, FirmwareFault::TextAfterEnd);
            break;
        }
        if (lineLength == 0)
            return fault(lineNumber, FirmwareFault::EmptyLine);
        if (lineLength > MaxLineLength)
            return fault(lineNumber, FirmwareFault::LineTooLong);
        if (pos[0] != ':')
            return fault(lineNumber, FirmwareFault::NoColon);
        const int digits = lineLength - 1;
        if (digits % 2 != 0)
            return fault(lineNumber, FirmwareFault::OddDigits);

        std::vector<unsigned char> bytes(size_t(digits / 2));
        for (int i = 0; i < digits / 2; ++i) {
            const int high = hexValue(pos[1 + 2 * i]);
            const int low = hexValue(pos[2 + 2 * i]);
            if (high < 0 || low < 0)
                return fault(lineNumber, FirmwareFault::NotHexadecimal);
            bytes[size_t(i)] = static_cast<unsigned char>(high * 16 + low);
        }
        // Count, two address bytes, type, data, checksum.
        if (bytes.size() < 5 || size_t(bytes[0]) + 5 != bytes.size())
            return fault(lineNumber, FirmwareFault::CountMismatch);
        unsigned sum = 0;
        for (unsigned char b : bytes)
            sum += b;
        if ((sum & 0xFF) != 0)
            return fault(lineNumber, FirmwareFault::BadChecksum);
        // A longer record would reach the keyboard cut short.
        if (bytes.size() > size_t(MaxRecordBytes))
            return fault(lineNumber, FirmwareFault::RecordTooLong);
        const unsigned char type = bytes[3];
        if (type > StartLinearRecord)
            return fault(lineNumber, FirmwareFault::UnknownRecordType);
        const int length = lengthOfType(type);
        if (length >= 0 && bytes[0] != length)
            return fault(lineNumber, FirmwareFault::WrongTypeLength);
        dataSeen = dataSeen || (type == DataRecord && bytes[0] > 0);
        endSeen = type == EndOfFileRecord;
        if (endSeen && !dataSeen)
            return fault(lineNumber, FirmwareFault::NoData);
        records.push_back(std::move(bytes));

        pos = lineEnd;
        if (pos < end) {
            const bool cr = *pos == '\r';
            ++pos;
            if (cr && pos < end && *pos == '\n')
                ++pos;
        }
    }
    if (!endSeen) {
        records.clear();
        return fault(lineNumber, FirmwareFault::NoEndRecord);
    }
    return {};
}

bool FirmwareImage::download(CKeyboardUtil &transport, const char *text, int length,
                             WindowHandle window)
{
    std::vector<std::vector<unsigned char>> records;
    if (!parse(text, length, records).ok())
        return false;

    // Progress counts records, so that an image whose last line lacks its CR still ends at 150.
    const long total = long(records.size());
    long sent = 0;
    long posted = 0;
    for (const std::vector<unsigned char> &record : records) {
        unsigned char report[65] = {};
        report[2] = ':';
        std::memcpy(report + 3, record.data(), std::min(record.size(), size_t(MaxRecordBytes)));
        if (!transport.writeReport(report, sizeof report))
            return false;
        ++sent;
        const long progress = ProgressScale * sent / total;
        if (progress > posted) {
            postTo(window, DeviceMessageProgress, std::uintptr_t(progress), 0);
            posted = progress;
        }
    }
    return true;
}

FirmwareCheck checkFirmwareText(const char *text, int length)
{
    std::vector<std::vector<unsigned char>> records;
    return FirmwareImage::parse(text, length, records);
}

} // namespace quillodev
