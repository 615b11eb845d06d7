#include "FakeTransport.h"

#include "device/src/FirmwareImage.h"

#include <quillodev/FirmwareCheck.h>

#include <gtest/gtest.h>

#include <string>

using quillodev::FirmwareImage;

namespace {

const std::string Extended = ":020000040800F2";
const std::string Data = ":0400000001020304F2";
const std::string Eof = ":00000001FF";

bool download(FakeTransport &transport, const std::string &text, RecordingTarget *window = nullptr)
{
    std::string copy = text;
    return FirmwareImage::download(transport, copy.data(), int(copy.size()) + 1, window);
}

} // namespace

TEST(Firmware, SendsOneReportPerRecordWithProgress)
{
    FakeTransport transport;
    RecordingTarget window;
    ASSERT_TRUE(download(transport, Extended + "\r\n" + Data + "\r\n" + Eof + "\r\n", &window));
    ASSERT_EQ(transport.written.size(), 3u);
    EXPECT_EQ(transport.written[0],
              payloadOf({0x00, 0x3A, 0x02, 0x00, 0x00, 0x04, 0x08, 0x00, 0xF2}));
    EXPECT_EQ(transport.written[2], payloadOf({0x00, 0x3A, 0x00, 0x00, 0x00, 0x01, 0xFF}));
    EXPECT_EQ(window.posts, (std::vector<Post>{{0x467, 50, 0}, {0x467, 100, 0}, {0x467, 150, 0}}));

    // Digits of either case decode alike; a last line without its CR is still sent, and the
    // text ends at its zero byte even when the length says more.
    FakeTransport lower;
    ASSERT_TRUE(download(lower, ":020000040800f2\r:0400000001020304f2\r:00000001ff"));
    ASSERT_EQ(lower.written.size(), 3u);
    EXPECT_EQ(lower.written, transport.written);

    // LF alone, or LF, CR LF and CR mixed in one file, end the lines as CR LF does.
    for (const std::string &text :
         {Extended + "\n" + Data + "\n" + Eof + "\n", Extended + "\n" + Data + "\r\n" + Eof,
          Extended + "\r" + Data + "\n" + Eof + "\r\n\n"}) {
        SCOPED_TRACE(text);
        FakeTransport mixed;
        ASSERT_TRUE(download(mixed, text));
        EXPECT_EQ(mixed.written, transport.written);
    }

    // Nothing past `length` is read, terminated or not.
    FakeTransport bounded;
    std::string text = Data + "\r\n" + Eof + "\r\nGARBAGE";
    EXPECT_TRUE(FirmwareImage::download(bounded, text.data(), int(text.size() - 7), nullptr));
    EXPECT_EQ(bounded.written.size(), 2u);

    FakeTransport failing;
    failing.failWriteAt = 1;
    EXPECT_FALSE(download(failing, Extended + "\r\n" + Data + "\r\n" + Eof + "\r\n"));
    EXPECT_EQ(failing.written.size(), 1u);
}

TEST(Firmware, RefusedTextsSendNothing)
{
    using quillodev::FirmwareFault;
    const std::string longData = ":3A000000" + std::string(58 * 2, '0') + "C6"; // 63-byte record
    struct Refused {
        std::string text;
        int line;
        FirmwareFault fault;
    };
    const std::vector<Refused> refused = {
        {"", 1, FirmwareFault::NoStartRecord},
        {"\r\n" + Eof + "\r\n", 1, FirmwareFault::NoStartRecord},
        {Extended + Eof, 0, FirmwareFault::NoLineEnds},
        {Extended + "\n\n" + Eof + "\n", 2, FirmwareFault::EmptyLine},
        {Extended + "\r\n\r\n" + Eof + "\r\n", 2, FirmwareFault::EmptyLine},
        {Extended + "\r\nX" + Eof.substr(1) + "\r\n", 2, FirmwareFault::NoColon},
        {":0400000001020304F\r\n" + Eof + "\r\n", 1, FirmwareFault::OddDigits},
        {":0400000001020G04F2\r\n" + Eof + "\r\n", 1, FirmwareFault::NotHexadecimal},
        {":0300000001020304F2\r\n" + Eof + "\r\n", 1, FirmwareFault::CountMismatch},
        {":0400000001020304F3\r\n" + Eof + "\r\n", 1, FirmwareFault::BadChecksum},
        {":" + std::string(1000, '0') + "\r\n" + Eof + "\r\n", 1, FirmwareFault::LineTooLong},
        {longData + "\r\n" + Eof + "\r\n", 1, FirmwareFault::RecordTooLong},
        {Extended + "\r\n" + Data + "\r\n", 2, FirmwareFault::NoEndRecord},
        {Data + "\r\n" + Eof + "\r\n" + Data + "\r\n", 3, FirmwareFault::TextAfterEnd},
        // What the keyboard's loader would refuse half-way, or take and install nothing.
        {Data + "\r\n:0400000601020304EC\r\n" + Eof + "\r\n", 2, FirmwareFault::UnknownRecordType},
        {Data + "\r\n:03000004080000F1\r\n" + Eof + "\r\n", 2, FirmwareFault::WrongTypeLength},
        {Data + "\r\n:0100000100FE\r\n", 2, FirmwareFault::WrongTypeLength},
        {Eof + "\r\n", 1, FirmwareFault::NoData},
        {Extended + "\r\n:0000000000\r\n" + Eof + "\r\n", 3, FirmwareFault::NoData},
    };
    for (const Refused &r : refused) {
        SCOPED_TRACE(r.text.substr(0, 40));
        FakeTransport transport;
        EXPECT_FALSE(download(transport, r.text));
        EXPECT_TRUE(transport.written.empty());
        // The exported check gives the program the same verdict, with its line.
        const quillodev::FirmwareCheck check
            = quillodev::checkFirmwareText(r.text.c_str(), int(r.text.size()) + 1);
        EXPECT_FALSE(check.ok());
        EXPECT_EQ(check.fault, r.fault);
        EXPECT_EQ(check.line, r.line);
    }
    EXPECT_EQ(quillodev::checkFirmwareText(nullptr, 10).fault, FirmwareFault::NoText);
    const std::string good = Extended + "\r\n" + Data + "\r\n:0400000508000000EF\r\n" + Eof;
    EXPECT_TRUE(quillodev::checkFirmwareText(good.c_str(), int(good.size())).ok());
    FakeTransport transport;
    EXPECT_FALSE(FirmwareImage::download(transport, nullptr, 10, nullptr));
    char text[] = ":00000001FF\r\n";
    EXPECT_FALSE(FirmwareImage::download(transport, text, 0, nullptr));
    EXPECT_TRUE(transport.written.empty());
}
