#include "skin/PackedFace.h"

#include "skin/SkinFaceFormat.h"

#include <gtest/gtest.h>

#include <zstd.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A stored face of w x h with a pattern in its pixels.
Bytes storedFace(std::uint32_t w, std::uint32_t h)
{
    Bytes stored(SkinFaceFormat::HeaderSize + std::size_t(w) * h * 4);
    SkinFaceFormat::writeHeader(stored.data(), w, h);
    for (std::size_t i = SkinFaceFormat::HeaderSize; i < stored.size(); ++i)
        stored[i] = static_cast<unsigned char>(i * 7 / 13);
    return stored;
}

Bytes pack(const Bytes &data, bool tellSize = true)
{
    ZSTD_CCtx *context = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(context, ZSTD_c_contentSizeFlag, tellSize ? 1 : 0);
    Bytes frame(ZSTD_compressBound(data.size()));
    const std::size_t size
        = ZSTD_compress2(context, frame.data(), frame.size(), data.data(), data.size());
    ZSTD_freeCCtx(context);
    frame.resize(ZSTD_isError(size) ? 0 : size);
    return frame;
}

QImage unpack(const Bytes &frame)
{
    return PackedFace::unpack(frame.data(), frame.size());
}

// A frame header that claims `size` bytes, followed by one empty last block.
Bytes claimedFrame(std::uint64_t size)
{
    Bytes frame = {0x28, 0xB5, 0x2F, 0xFD, 0xE0}; // magic; 8-byte size, single segment
    for (int i = 0; i < 8; ++i)
        frame.push_back(static_cast<unsigned char>(size >> (8 * i)));
    frame.insert(frame.end(), {0x01, 0x00, 0x00});
    return frame;
}

} // namespace

TEST(PackedFace, UnpacksIntoAlignedRowsEqualToTheStoredOnes)
{
    for (const auto &[w, h] : {std::pair(1240u, 670u), std::pair(3u, 2u), std::pair(370u, 250u)}) {
        const Bytes stored = storedFace(w, h);
        const QImage face = unpack(pack(stored));
        ASSERT_FALSE(face.isNull()) << w;
        EXPECT_EQ(face.size(), QSize(int(w), int(h)));
        const Bytes frame = pack(stored);
        EXPECT_EQ(PackedFace::peek(frame.data(), frame.size()), face.size());
        EXPECT_EQ(face.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(quintptr(face.constBits()) % 64, 0u);
        for (int y = 0; y < face.height(); ++y) {
            ASSERT_EQ(std::memcmp(face.constScanLine(y),
                                  stored.data() + SkinFaceFormat::HeaderSize + y * w * 4, w * 4),
                      0)
                << y;
        }
        // An image painted on works on its own copy; the unpacked one goes away with its last user.
        QImage copy = face;
        copy.fill(Qt::red);
        EXPECT_NE(copy.pixel(0, 0), face.pixel(0, 0));
    }
}

TEST(PackedFace, DamagedShortOrOversizedFramesGiveNoImage)
{
    const Bytes stored = storedFace(40, 30);
    const Bytes frame = pack(stored);
    ASSERT_FALSE(frame.empty());
    ASSERT_FALSE(unpack(frame).isNull());

    Bytes cut(frame.begin(), frame.end() - 1);
    EXPECT_TRUE(unpack(cut).isNull());
    Bytes trailing = frame;
    trailing.push_back(0);
    EXPECT_TRUE(unpack(trailing).isNull());
    Bytes twice = frame;
    twice.insert(twice.end(), frame.begin(), frame.end());
    EXPECT_TRUE(unpack(twice).isNull());
    EXPECT_TRUE(unpack(stored).isNull()); // not packed at all
    EXPECT_TRUE(unpack({}).isNull());
    EXPECT_TRUE(PackedFace::unpack(nullptr, 10).isNull());
    // Without its size the frame is not trusted with an allocation.
    EXPECT_TRUE(unpack(pack(stored, false)).isNull());

    // A size claimed beyond the limit is refused before anything is allocated for it; a
    // frame that gives less than it claims is cut short.
    EXPECT_TRUE(unpack(claimedFrame(PackedFace::MaxUnpackedBytes + 1)).isNull());
    EXPECT_TRUE(unpack(claimedFrame(stored.size())).isNull());

    // Whole frames of things that are no stored face.
    Bytes badMagic = stored;
    badMagic[0] ^= 0xFF;
    EXPECT_TRUE(unpack(pack(badMagic)).isNull());
    Bytes shortRows(stored.begin(), stored.end() - 4);
    EXPECT_TRUE(unpack(pack(shortRows)).isNull());
    EXPECT_TRUE(unpack(pack(Bytes(10, 1))).isNull());

    // Peeking refuses what unpacking refuses on the frame's face or in its header; rows
    // that are short only show when they are unpacked.
    const auto peek = [](const Bytes &bytes) {
        return PackedFace::peek(bytes.data(), bytes.size());
    };
    EXPECT_EQ(peek(frame), QSize(40, 30));
    for (const Bytes &bad : {cut, trailing, twice, stored, pack(stored, false), pack(badMagic),
                             pack(Bytes(10, 1)), Bytes(frame.begin(), frame.begin() + 8)})
        EXPECT_FALSE(peek(bad).isValid());
    EXPECT_FALSE(PackedFace::peek(nullptr, 10).isValid());
    EXPECT_FALSE(peek(claimedFrame(PackedFace::MaxUnpackedBytes + 1)).isValid());
}
