#include "skin/FacePatches.h"

#include "skin/PackedFace.h"
#include "skin/SkinFaceFormat.h"

#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

#include <zstd.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using SkinFaceFormat::PatchRect;

// Stored patches of a w x h face over `rects`, each patch's pixels a pattern of its own.
Bytes storedPatches(std::uint32_t w, std::uint32_t h, const std::vector<PatchRect> &rects)
{
    Bytes stored(SkinFaceFormat::patchPixelsOffset(std::uint32_t(rects.size())));
    SkinFaceFormat::writePatchHeader(stored.data(), w, h, std::uint32_t(rects.size()));
    for (std::size_t i = 0; i < rects.size(); ++i) {
        SkinFaceFormat::writePatchRect(stored.data(), i, rects[i]);
        for (std::uint32_t p = 0; p < rects[i].width * rects[i].height; ++p) {
            const std::uint32_t pixel = 0xFF000000u | (std::uint32_t(i + 1) * 0x3F1Fu + p * 77u);
            const auto *bytes = reinterpret_cast<const unsigned char *>(&pixel);
            stored.insert(stored.end(), bytes, bytes + 4);
        }
    }
    return stored;
}

Bytes pack(const Bytes &data)
{
    Bytes frame(ZSTD_compressBound(data.size()));
    const std::size_t size = ZSTD_compress(frame.data(), frame.size(), data.data(), data.size(), 3);
    frame.resize(ZSTD_isError(size) ? 0 : size);
    return frame;
}

bool valid(const Bytes &stored)
{
    return SkinFaceFormat::readPatches(stored.data(), stored.size()).has_value();
}

} // namespace

// Every record is checked before a pixel is read: inside the face, not empty, by rising top
// edge, and the pixels filling exactly what follows the records.
TEST(FacePatches, StoredPatchesAreCheckedRecordByRecord)
{
    const std::vector<PatchRect> rects{{2, 1, 5, 3}, {0, 4, 8, 2}};
    const Bytes good = storedPatches(8, 6, rects);
    ASSERT_TRUE(valid(good));
    EXPECT_TRUE(valid(storedPatches(8, 6, {})));

    EXPECT_FALSE(valid(Bytes(good.begin(), good.end() - 4)));
    Bytes longer = good;
    longer.insert(longer.end(), 4, 0);
    EXPECT_FALSE(valid(longer));
    EXPECT_FALSE(valid(storedPatches(8, 6, {{4, 1, 5, 3}})));       // past the right edge
    EXPECT_FALSE(valid(storedPatches(8, 6, {{0, 5, 1, 2}})));       // past the bottom
    EXPECT_FALSE(valid(storedPatches(8, 6, {{0, 0, 0, 2}})));       // empty
    EXPECT_FALSE(valid(storedPatches(8, 6, {rects[1], rects[0]}))); // not by rising top
    EXPECT_FALSE(valid(storedPatches(0, 6, {})));
    // A count whose records alone would not fit is refused from the header already.
    Bytes counted = good;
    const std::uint32_t huge = 0x40000000;
    std::memcpy(counted.data() + 16, &huge, 4);
    EXPECT_FALSE(SkinFaceFormat::readPatchHeader(counted.data(), counted.size()));
    // A bitmap is no patches, nor the other way round.
    EXPECT_FALSE(SkinFaceFormat::read(good.data(), good.size()));

    // Packed: peeked as patches of the face's size, unpacked to the same, refused when cut.
    const Bytes frame = pack(good);
    bool patches = false;
    EXPECT_EQ(PackedFace::peek(frame.data(), frame.size(), &patches), QSize(8, 6));
    EXPECT_TRUE(patches);
    EXPECT_TRUE(PackedFace::unpack(frame.data(), frame.size()).isNull());
    const FacePatches face = PackedFace::unpackPatches(frame.data(), frame.size());
    ASSERT_EQ(face.patches().size(), 2u);
    EXPECT_EQ(face.patches()[1].rect, QRect(0, 4, 8, 2));
    EXPECT_EQ(face.byteCount(), std::size_t(5 * 3 + 8 * 2) * 4);
    EXPECT_TRUE(PackedFace::unpackPatches(frame.data(), frame.size() - 1).isNull());
    const Bytes badFrame = pack(storedPatches(8, 6, {rects[1], rects[0]}));
    EXPECT_TRUE(PackedFace::unpackPatches(badFrame.data(), badFrame.size()).isNull());
}

// Copying any rectangle of a face kept as patches draws exactly what copying it from the
// whole face drew, also where the rectangle cuts through patches or reaches past the face.
TEST(FacePatches, CopiesDrawWhatTheWholeFaceWould)
{
    const std::vector<PatchRect> rects{
        {3, 0, 10, 4}, {20, 2, 6, 30}, {0, 10, 40, 3}, {5, 25, 4, 4}};
    const Bytes stored = storedPatches(40, 32, rects);
    const FacePatches face = FacePatches::fromStored(stored.data(), stored.size(), nullptr);
    ASSERT_FALSE(face.isNull());
    QImage background(40, 32, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 40; ++x)
            background.setPixel(x, y, qRgba(x * 6, y * 7, 90, 255));
    const QImage whole = face.toImage(background);

    for (const QRect &r : {QRect(0, 0, 40, 32), QRect(4, 1, 3, 2), QRect(18, 8, 10, 20),
                           QRect(30, 28, 20, 20), QRect(6, 26, 1, 1), QRect(14, 5, 5, 4)}) {
        QImage viaPatches(40, 32, QImage::Format_ARGB32_Premultiplied);
        viaPatches.fill(Qt::black);
        QImage viaWhole = viaPatches;
        QPainter a(&viaPatches);
        a.setCompositionMode(QPainter::CompositionMode_Source);
        face.copy(a, r, background);
        a.end();
        QPainter b(&viaWhole);
        b.setCompositionMode(QPainter::CompositionMode_Source);
        b.drawImage(r.topLeft(), whole, r);
        b.end();
        EXPECT_EQ(viaPatches, viaWhole) << r.x() << "," << r.y();
    }
    // Where no patch lies, the face is its background.
    EXPECT_EQ(whole.pixel(39, 31), background.pixel(39, 31));
    EXPECT_NE(whole.pixel(3, 0), background.pixel(3, 0));
    // Misaligned stored patches are not read in place.
    Bytes shifted(stored.size() + 1);
    std::memcpy(shifted.data() + 1, stored.data(), stored.size());
    EXPECT_TRUE(FacePatches::fromStored(shifted.data() + 1, stored.size(), nullptr).isNull());
}

TEST(FacePatches, ACutKeepsTheFaceInsideItsRegionOnly)
{
    QImage face(40, 32, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 40; ++x)
            face.setPixel(x, y, qRgba(x * 6, y * 7, 90, 255));
    // Overlapping, and reaching past the face.
    const QRegion region = QRegion(2, 3, 10, 10) + QRegion(8, 8, 10, 6) + QRegion(35, 28, 20, 20);
    const FacePatches cut = FacePatches::cut(face, region);
    ASSERT_EQ(cut.size(), face.size());
    EXPECT_EQ(cut.byteCount(), std::size_t(100 + 60 - 20 + 20) * 4); // the overlap once

    QImage painted(40, 32, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    QPainter painter(&painted);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    cut.paint(painter, QRect(0, 0, 40, 32));
    painter.end();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb want = region.contains(QPoint(x, y)) ? face.pixel(x, y) : 0u;
            ASSERT_EQ(painted.pixel(x, y), want) << x << "," << y;
        }
    }
}
