#include "sim/FirmwareLoader.h"

#include <gtest/gtest.h>

using namespace quillosim;

namespace {

// Record bytes with their checksum appended.
std::vector<std::uint8_t> record(std::vector<std::uint8_t> bytes)
{
    std::uint8_t sum = 0;
    for (std::uint8_t byte : bytes)
        sum = std::uint8_t(sum + byte);
    bytes.push_back(std::uint8_t(-sum));
    return bytes;
}

std::vector<std::uint8_t> data(std::uint16_t offset, std::vector<std::uint8_t> bytes)
{
    std::vector<std::uint8_t> head
        = {std::uint8_t(bytes.size()), std::uint8_t(offset >> 8), std::uint8_t(offset), 0};
    head.insert(head.end(), bytes.begin(), bytes.end());
    return record(head);
}

const std::vector<std::uint8_t> endOfFile = {0x00, 0x00, 0x00, 0x01, 0xFF};

FirmwareLoader::Result feed(FirmwareLoader &loader, const std::vector<std::uint8_t> &bytes)
{
    // As the report carries it: 62 bytes, zero-filled after the record.
    std::vector<std::uint8_t> carried = bytes;
    carried.resize(62, 0);
    return loader.receive(carried.data(), carried.size());
}

} // namespace

TEST(FirmwareLoader, SoundImageIsInstalledAtItsAddresses)
{
    FirmwareLoader loader;
    EXPECT_EQ(feed(loader, record({2, 0, 0, 4, 0x08, 0x00})), FirmwareLoader::Result::Accepted);
    EXPECT_EQ(feed(loader, data(0x0000, {1, 2, 3, 4})), FirmwareLoader::Result::Accepted);
    EXPECT_EQ(feed(loader, data(0x0004, {5, 6})), FirmwareLoader::Result::Accepted);
    EXPECT_EQ(feed(loader, data(0x0100, {9})), FirmwareLoader::Result::Accepted);
    EXPECT_EQ(feed(loader, data(0x0001, {0x77})), FirmwareLoader::Result::Accepted); // overlap
    EXPECT_EQ(feed(loader, record({4, 0, 0, 5, 0x08, 0, 0x01, 0x2D})),
              FirmwareLoader::Result::Accepted);
    EXPECT_TRUE(loader.loading());
    EXPECT_TRUE(loader.image().empty()); // nothing installed before the end
    EXPECT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Completed);

    EXPECT_EQ(loader.updatesDone(), 1);
    EXPECT_FALSE(loader.loading());
    const FirmwareImage &image = loader.image();
    EXPECT_EQ(image.byteAt(0x08000000), 1);
    EXPECT_EQ(image.byteAt(0x08000001), 0x77);
    EXPECT_EQ(image.byteAt(0x08000005), 6);
    EXPECT_EQ(image.byteAt(0x08000100), 9);
    EXPECT_FALSE(image.byteAt(0x08000006));
    EXPECT_FALSE(image.byteAt(0x00000000));
    EXPECT_EQ(image.segments().size(), 3u);
    EXPECT_EQ(loader.startAddress(), 0x0800012Du);

    // Segment addressing: base × 16.
    feed(loader, record({2, 0, 0, 2, 0x10, 0x00}));
    feed(loader, data(0x0010, {0xAB}));
    EXPECT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Completed);
    EXPECT_EQ(loader.image().byteAt(0x10010), 0xAB);
    EXPECT_FALSE(loader.image().byteAt(0x08000000)); // the new image replaced the old
}

TEST(FirmwareLoader, BrokenRecordsFailTheUpdateAndKeepTheOldImage)
{
    FirmwareLoader loader;
    feed(loader, data(0, {1, 2}));
    ASSERT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Completed);

    std::vector<std::uint8_t> badSum = data(0, {3, 4});
    badSum.back() ^= 1;
    std::vector<std::uint8_t> tooLong = data(0, std::vector<std::uint8_t>(60, 0x42)); // cut at 62
    const std::vector<std::vector<std::uint8_t>> broken = {
        badSum,
        tooLong,
        record({0, 0, 0, 6}),       // unknown type
        record({1, 0, 0, 4, 0x08}), // extended address of one byte
        record({1, 0, 0, 1, 0x00}), // end of file with data
    };
    for (const auto &bytes : broken) {
        EXPECT_EQ(feed(loader, bytes), FirmwareLoader::Result::Rejected);
        EXPECT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Failed);
    }
    EXPECT_EQ(loader.recordsRejected(), int(broken.size()));
    EXPECT_EQ(loader.updatesFailed(), int(broken.size()));
    EXPECT_EQ(loader.updatesDone(), 1);
    EXPECT_EQ(loader.image().byteAt(0), 1);
    const std::uint8_t header[] = {0, 0, 0, 0};
    EXPECT_EQ(loader.receive(header, sizeof header), FirmwareLoader::Result::Rejected);
    loader.abort();

    // An image without data would leave the keyboard without a program.
    EXPECT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Failed);
    // A download cut off half way installs nothing.
    feed(loader, data(0, {9}));
    loader.abort();
    EXPECT_EQ(loader.updatesFailed(), int(broken.size()) + 3);
    EXPECT_EQ(loader.image().byteAt(0), 1);
    // The next download starts clean.
    feed(loader, data(0, {5}));
    EXPECT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Completed);
    EXPECT_EQ(loader.image().byteAt(0), 5);
}

TEST(FirmwareLoader, ImageLargerThanTheFlashIsRefused)
{
    FirmwareLoader loader;
    const std::vector<std::uint8_t> block(32, 0xEE);
    std::size_t written = 0;
    int rejected = 0;
    for (std::uint32_t chunk = 0; written <= FirmwareLoader::FlashSize; ++chunk) {
        if (chunk % 2048 == 0) {
            const std::uint16_t base = std::uint16_t(chunk / 2048);
            feed(loader, record({2, 0, 0, 4, std::uint8_t(base >> 8), std::uint8_t(base)}));
        }
        if (feed(loader, data(std::uint16_t(chunk * 32), block))
            == FirmwareLoader::Result::Rejected)
            ++rejected;
        written += block.size();
    }
    EXPECT_EQ(rejected, 1);
    EXPECT_EQ(feed(loader, endOfFile), FirmwareLoader::Result::Failed);
}
