#include "skin/SkinFaceFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> stored(std::uint32_t width, std::uint32_t height)
{
    std::vector<unsigned char> data(SkinFaceFormat::HeaderSize + std::size_t(width) * height * 4);
    SkinFaceFormat::writeHeader(data.data(), width, height);
    return data;
}

void setWord(std::vector<unsigned char> &data, std::size_t index, std::uint32_t value)
{
    std::memcpy(data.data() + index * 4, &value, 4);
}

} // namespace

TEST(SkinFaceFormat, ReadsWhatIsWrittenAndRejectsWhatDoesNotFit)
{
    std::vector<unsigned char> face = stored(5, 3);
    const auto header = SkinFaceFormat::read(face.data(), face.size());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 5u);
    EXPECT_EQ(header->height, 3u);
    EXPECT_EQ(header->bytesPerLine, 20u);

    // One byte short of the last pixel, or no data at all.
    EXPECT_FALSE(SkinFaceFormat::read(face.data(), face.size() - 1));
    EXPECT_FALSE(SkinFaceFormat::read(face.data(), SkinFaceFormat::HeaderSize - 1));
    EXPECT_FALSE(SkinFaceFormat::read(nullptr, face.size()));

    // Padded rows: the last one needs no padding, the others must all be there.
    std::vector<unsigned char> padded = face;
    setWord(padded, 4, 24);
    padded.resize(SkinFaceFormat::HeaderSize + 24 * 2 + 20);
    EXPECT_TRUE(SkinFaceFormat::read(padded.data(), padded.size()));
    EXPECT_FALSE(SkinFaceFormat::read(padded.data(), padded.size() - 1));

    const auto broken = [&](std::size_t word, std::uint32_t value) {
        std::vector<unsigned char> copy = face;
        setWord(copy, word, value);
        return !SkinFaceFormat::read(copy.data(), copy.size());
    };
    EXPECT_TRUE(broken(0, 0x51534B46));  // written in the other byte order
    EXPECT_TRUE(broken(1, 2));           // a later version
    EXPECT_TRUE(broken(2, 0));           // no width
    EXPECT_TRUE(broken(3, 0));           // no height
    EXPECT_TRUE(broken(2, 6));           // wider than its rows
    EXPECT_TRUE(broken(4, 22));          // rows not whole words
    EXPECT_TRUE(broken(3, 4));           // one row too many for the data
    EXPECT_TRUE(broken(2, 0x80000000u)); // beyond any screen, and 32-bit overflow bait
    EXPECT_TRUE(broken(4, 0xFFFFFFFCu)); // rows reaching far past the end
    EXPECT_TRUE(broken(3, SkinFaceFormat::MaxSide + 1));
}

TEST(SkinFaceFormat, KeyOutClearsExactlyTheKeyColour)
{
    // Alpha does not matter for the comparison; neighbours one step off stay.
    std::vector<std::uint32_t> pixels{0xFF0000FF, 0x000000FF, 0xFF0000FE, 0xFF0100FF, 0xFF123456};
    SkinFaceFormat::keyOut(pixels.data(), pixels.size(), 0xFF0000FF);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0, 0, 0xFF0000FE, 0xFF0100FF, 0xFF123456}));
}
