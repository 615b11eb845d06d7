#include "device/src/CContinousKeyDefine.h"
#include "device/src/CMacroKeyDefine.h"
#include "device/src/CNormalKeyDefine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned char> encode(CKeyDefine &record)
{
    int size = 0;
    int header = -1;
    EXPECT_FALSE(record.toDeviceBytes(nullptr, 64, size, &header));
    std::vector<unsigned char> bytes(size_t(size), 0xAA);
    if (dynamic_cast<CMacroKeyDefine *>(&record))
        std::fill(bytes.begin(), bytes.end(), 0); // the caller clears macro buffers
    record.toDeviceBytes(bytes.data(), 64, size, nullptr);
    return bytes;
}

CMacroKeyDefine macro(int count, bool delays)
{
    CMacroKeyDefine m(7, 1, 3);
    m.hasDelays = delays ? 1 : 0;
    m.cycles = 0x1FF; // only the low byte travels
    m.interval = 0x1234;
    m.count = count;
    for (int i = 0; i < count; ++i) {
        m.codes.push_back(i + 1);
        m.delays.push_back(1000 + i);
    }
    return m;
}

} // namespace

TEST(KeyRecord, NormalRecordLayoutAndRoundTrip)
{
    CNormalKeyDefine normal(12, 2);
    normal.codes = {0x04, 0x05};
    normal.count = 2;
    int size = 0;
    int header = 0;
    EXPECT_FALSE(normal.toDeviceBytes(nullptr, 64, size, &header));
    EXPECT_EQ(size, 64);
    EXPECT_EQ(header, 6);

    const std::vector<unsigned char> bytes = encode(normal);
    std::vector<unsigned char> expected(64, 0);
    const unsigned char head[] = {0x00, 0xF0, 0x02, 0x0C, 0x00, 0x02, 0x04, 0x05};
    std::copy(std::begin(head), std::end(head), expected.begin());
    EXPECT_EQ(bytes, expected);

    CNormalKeyDefine back(12, 2);
    EXPECT_TRUE(back.fromDeviceBytes(bytes.data(), 64, 64));
    EXPECT_EQ(back.count, 2);
    EXPECT_EQ(back.codes, (std::vector<int>{4, 5}));
}

TEST(KeyRecord, ACountPastThePayloadIsRefusedAndOneAtTheLimitRead)
{
    // Normal records hold 58 codes from byte 6, continuous ones 56 from byte 8; a count
    // beyond is a damaged record, never one cut to fit.
    for (const bool continuous : {false, true}) {
        SCOPED_TRACE(continuous ? "continuous" : "normal");
        const int countByte = continuous ? 7 : 5;
        const int limit = continuous ? 56 : 58;
        std::vector<unsigned char> bytes(64, 0x04);
        bytes[4] = continuous ? 1 : 0;
        CNormalKeyDefine normal(1, 1);
        CContinousKeyDefine repeat(1, 1);
        CKeyDefine &record = continuous ? static_cast<CKeyDefine &>(repeat) : normal;
        const auto count = [&] {
            return continuous ? repeat.count : normal.count;
        };

        bytes[size_t(countByte)] = static_cast<unsigned char>(limit);
        EXPECT_TRUE(record.fromDeviceBytes(bytes.data(), 64, 64));
        EXPECT_EQ(count(), limit);
        for (const int claimed : {limit + 1, 0xFF}) {
            bytes[size_t(countByte)] = static_cast<unsigned char>(claimed);
            EXPECT_FALSE(record.fromDeviceBytes(bytes.data(), 64, 64)) << claimed;
        }
    }
}

TEST(KeyRecord, ContinuousRecordLayoutAndEmptyRecord)
{
    CContinousKeyDefine repeat(3, 1);
    repeat.interval = 0x0102;
    repeat.codes = {0x10, 0x11, 0x12};
    repeat.count = 3;
    int header = 0;
    int size = 0;
    repeat.toDeviceBytes(nullptr, 64, size, &header);
    EXPECT_EQ(header, 8);
    const std::vector<unsigned char> bytes = encode(repeat);
    const std::vector<unsigned char> head
        = {0x00, 0xF0, 0x01, 0x03, 0x01, 0x01, 0x02, 0x03, 0x10, 0x11, 0x12, 0x00};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 12), head);

    CContinousKeyDefine back(3, 1);
    back.fromDeviceBytes(bytes.data(), 64, 64);
    EXPECT_EQ(back.interval, 0x0102);
    EXPECT_EQ(back.codes, repeat.codes);

    // Without codes only the five leading bytes are written, and the encoder says so.
    CContinousKeyDefine empty(3, 1);
    empty.interval = 500;
    std::vector<unsigned char> out(64, 0xAA);
    size = 64;
    EXPECT_FALSE(empty.toDeviceBytes(out.data(), 64, size, nullptr));
    EXPECT_EQ(out[4], 0x01);
    EXPECT_TRUE(std::all_of(out.begin() + 5, out.end(), [](unsigned char b) { return b == 0; }));
}

TEST(KeyRecord, MacroBlocksRepeatTheHeaderWithTheTotalLength)
{
    CMacroKeyDefine one = macro(53, false);
    EXPECT_EQ(encode(one).size(), 64u);

    CMacroKeyDefine two = macro(54, false);
    const std::vector<unsigned char> bytes = encode(two);
    ASSERT_EQ(bytes.size(), 128u);
    for (int block = 0; block < 2; ++block) {
        const unsigned char *b = bytes.data() + 64 * block;
        const std::vector<unsigned char> header(b, b + 11);
        EXPECT_EQ(header, (std::vector<unsigned char>{0x00, 0xF0, 0x01, 0x07, 0x03, 0xFF, 0x00,
                                                      0x12, 0x34, 0x00, 0x36}));
    }
    EXPECT_EQ(bytes[11 + 52], 53);   // last data byte of block 0
    EXPECT_EQ(bytes[64 + 11], 54);   // the one data byte of block 1
    EXPECT_EQ(bytes[64 + 12], 0x00); // tail of the last block stays clear

    CMacroKeyDefine back(7, 1, 3);
    EXPECT_TRUE(back.fromDeviceBytes(bytes.data(), 64, 128));
    EXPECT_EQ(back.count, 54);
    EXPECT_EQ(back.codes, two.codes);
    EXPECT_EQ(back.cycles, 0xFF);
    EXPECT_EQ(back.interval, 0x1234);

    CMacroKeyDefine none = macro(0, true);
    int size = -1;
    none.toDeviceBytes(nullptr, 64, size, nullptr);
    EXPECT_EQ(size, 0);
}

TEST(KeyRecord, MacroWithDelaysLosesOnlyTheLastDelay)
{
    CMacroKeyDefine m = macro(3, true);
    const std::vector<unsigned char> bytes = encode(m);
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes[10], 12); // L = 4 * 3
    const std::vector<unsigned char> entry(bytes.begin() + 11, bytes.begin() + 15);
    EXPECT_EQ(entry, (std::vector<unsigned char>{0x01, 0xC8, 0x03, 0xE8}));

    CMacroKeyDefine back(7, 1, 3);
    back.fromDeviceBytes(bytes.data(), 64, 64);
    EXPECT_EQ(back.count, 3);
    EXPECT_EQ(back.codes, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(back.delays, (std::vector<int>{1000, 1001, 0}));

    // A length of 4n - 2 still counts n entries.
    std::vector<unsigned char> odd = bytes;
    odd[10] = 10;
    back.fromDeviceBytes(odd.data(), 64, 64);
    EXPECT_EQ(back.count, 3);
}

TEST(KeyRecord, MacroDecoderStaysInsideTheBlocksItWasGiven)
{
    // The length claims far more data than the one block handed over.
    std::vector<unsigned char> block(64, 0x05);
    block[6] = 0;
    block[9] = 0xFF;
    block[10] = 0xFF;
    CMacroKeyDefine plain(1, 1, 2);
    EXPECT_TRUE(plain.fromDeviceBytes(block.data(), 64, 64));
    EXPECT_EQ(plain.count, 53);

    block[6] = 1;
    CMacroKeyDefine delayed(1, 1, 2);
    EXPECT_TRUE(delayed.fromDeviceBytes(block.data(), 64, 64));
    EXPECT_EQ(delayed.count, 14); // entries starting inside the 53 data bytes
    EXPECT_EQ(delayed.delays.size(), 14u);

    EXPECT_FALSE(plain.fromDeviceBytes(block.data(), 64, 10));

    // An encoder given a buffer smaller than it needs writes nothing.
    CMacroKeyDefine big = macro(60, false);
    std::vector<unsigned char> small(64, 0);
    int size = 64;
    EXPECT_FALSE(big.toDeviceBytes(small.data(), 64, size, nullptr));
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](unsigned char b) { return b == 0; }));
}
