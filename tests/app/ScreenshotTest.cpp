#include "MainWindowHarness.h"

#include "app/FirstPaintGrabber.h"
#include "layout/MainWindowTable.h"
#include "layout/WindowsColour.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The saved picture of the main window is the window as painted, at the screen's pixel ratio,
// with the key-coloured part of the face left transparent: bands that overlap, skip or shift rows
// show in the position-coded face.
TEST(Screenshot, IsTheWindowAsShownWithItsKeyedOutPartTransparent)
{
    const QSize base(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);
    const QRect cutOut(0, 0, 120, 90); // keyed out: the desktop shows through
    const QColor key = colourFromWindows(MainWindowTable::ColourKey);
    // No entry lies in the cut-out, so the highlights never show there.
    SkinImages skin = positionCodedSkin(base);
    QPainter(&skin.background).fillRect(cutOut, key);

    AttachedKeyboard attached(4);
    ScriptedMainWindow window(attached.state, attached.fonts, skin);
    ASSERT_TRUE(window.initialise());
    const QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    // A shape as a desktop that takes them would have it, cut elsewhere than the key colour.
    const QRect unshaped(window.width() - 100, window.height() - 80, 100, 80);
    window.setMask(QRegion(window.rect()).subtracted(unshaped));
    auto *grabber = new FirstPaintGrabber(&window, path);
    window.show();
    ASSERT_TRUE(waitUntil([grabber] { return grabber->finished(); }));
    ASSERT_TRUE(grabber->saved()) << grabber->error().toStdString();

    QImage want = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shot(path);
    ASSERT_FALSE(shot.isNull());
    shot.convertTo(QImage::Format_ARGB32);
    ASSERT_EQ(shot.size(), want.size());

    // In device pixels, away from the edges of what is cut, where scaling blends.
    const double ratio = want.devicePixelRatio();
    const double scale = window.width() / double(base.width()) * ratio;
    const QRectF keyed(QPointF(0, 0), QSizeF(cutOut.size()) * scale);
    const QRectF outside(QPointF(unshaped.topLeft()) * ratio, QSizeF(unshaped.size()) * ratio);
    const auto near = [](const QRectF &r, int x, int y) {
        return r.adjusted(-3, -3, 3, 3).contains(x, y) && !r.adjusted(3, 3, -3, -3).contains(x, y);
    };
    int transparent = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (near(keyed, x, y) || near(outside, x, y))
                continue;
            if (keyed.contains(x, y) || outside.contains(x, y)) {
                ASSERT_EQ(qAlpha(shot.pixel(x, y)), 0) << x << ", " << y;
                ++transparent;
            } else {
                ASSERT_EQ(shot.pixel(x, y), want.pixel(x, y)) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(transparent, int(keyed.width() * keyed.height() / 2));
}
