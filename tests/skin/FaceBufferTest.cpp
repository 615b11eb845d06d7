#include "skin/FaceBuffer.h"

#include <QPainter>

#include <gtest/gtest.h>

// Large faces get memory of their own: it must paint, copy and go away like any image's.
TEST(FaceBuffer, BehavesAsAnOrdinaryImageAtEverySize)
{
    for (const QSize size : {QSize(1240, 670), QSize(100, 60), QSize(2048, 1024)}) {
        QImage face = FaceBuffer::create(size);
        ASSERT_EQ(face.size(), size);
        ASSERT_EQ(face.format(), QImage::Format_ARGB32_Premultiplied);
        face.fill(Qt::darkGray);
        const QImage kept = face; // shares until one of them is painted on
        {
            QPainter painter(&face);
            painter.fillRect(QRect(QPoint(0, 0), size), Qt::red);
        }
        EXPECT_EQ(face.pixelColor(size.width() - 1, size.height() - 1), QColor(Qt::red));
        EXPECT_EQ(kept.pixelColor(size.width() - 1, size.height() - 1), QColor(Qt::darkGray));
    }
    EXPECT_TRUE(FaceBuffer::create(QSize()).isNull());
}
