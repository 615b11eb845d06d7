#include "app/PngRowWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

bool writeImage(PngRowWriter &writer, const QString &path, const QImage &image, int rows)
{
    if (!writer.open(path, image.width(), image.height()))
        return false;
    for (int y = 0; y < rows; ++y) {
        if (!writer.writeRow(reinterpret_cast<const QRgb *>(image.constScanLine(y))))
            return false;
    }
    return writer.finish();
}

} // namespace

TEST(PngRowWriter, WhatItWritesReadsBackPixelForPixel)
{
    // Noise does not deflate, so the picture spans several data chunks; an odd width and every
    // kind of alpha check the filter and the byte order.
    QImage image(301, 203, QImage::Format_ARGB32);
    std::mt19937 random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = x < 20 ? qRgba(x, y, 0, 0) : QRgb(random());
    }
    const QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    PngRowWriter writer;
    ASSERT_TRUE(writeImage(writer, path, image, image.height())) << writer.error().toStdString();

    QImage read(path);
    ASSERT_FALSE(read.isNull());
    read.convertTo(QImage::Format_ARGB32);
    ASSERT_EQ(read.size(), image.size());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb want = image.pixel(x, y);
            // A fully transparent pixel's colour is not kept by every reader.
            if (qAlpha(want) == 0)
                ASSERT_EQ(qAlpha(read.pixel(x, y)), 0) << x << ", " << y;
            else
                ASSERT_EQ(read.pixel(x, y), want) << x << ", " << y;
        }
    }
}

TEST(PngRowWriter, AnIncompletePictureIsReportedAndLeavesNoFile)
{
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 4));
    const QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");

    PngRowWriter tooFew;
    EXPECT_FALSE(writeImage(tooFew, path, image, 29));
    EXPECT_FALSE(tooFew.error().isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    PngRowWriter tooMany;
    ASSERT_TRUE(tooMany.open(path, 40, 29));
    for (int y = 0; y < 29; ++y)
        ASSERT_TRUE(tooMany.writeRow(reinterpret_cast<const QRgb *>(image.constScanLine(y))));
    EXPECT_FALSE(tooMany.writeRow(reinterpret_cast<const QRgb *>(image.constScanLine(29))));
    EXPECT_FALSE(tooMany.finish());
    EXPECT_FALSE(QFile::exists(path));

    {
        // Abandoned half-way: the half-written file goes with the writer.
        PngRowWriter abandoned;
        ASSERT_TRUE(abandoned.open(path, 40, 30));
        ASSERT_TRUE(abandoned.writeRow(reinterpret_cast<const QRgb *>(image.constScanLine(0))));
        EXPECT_TRUE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path));

    PngRowWriter nowhere;
    EXPECT_FALSE(nowhere.open(dir.filePath("no/such/folder/shot.png"), 40, 30));
    EXPECT_FALSE(nowhere.error().isEmpty());
    EXPECT_FALSE(nowhere.writeRow(reinterpret_cast<const QRgb *>(image.constScanLine(0))));
    EXPECT_FALSE(nowhere.open(path, 0, 30));
}
