#include "MainWindowHarness.h"

#include "layout/MainWindowTable.h"
#include "layout/ScaleFactor.h"
#include "skin/ScreenScale.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QSize &size, std::ostream *out)
{
    *out << size.width() << " x " << size.height();
}

void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}

namespace {

const QSize FaceSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);

QSize inDevicePixels(QSize logical, double ratio)
{
    return {devicePixels(logical.width(), ratio), devicePixels(logical.height(), ratio)};
}

QRect inDevicePixels(QRect logical, double ratio)
{
    return {QPoint(devicePixels(logical.x(), ratio), devicePixels(logical.y(), ratio)),
            inDevicePixels(logical.size(), ratio)};
}

// What the main window must cover on the screens the tests run on, in device pixels.
struct Expected {
    int screenHeight; // device pixels
    double ratio;
    float factor;
    QSize window;
    QRect report;
    int reportFont;
};

const Expected &expected()
{
    static const Expected ordinary{1080, 1.0, 1.5, {1860, 1005}, {40, 759, 1400, 216}, 19};
    static const Expected doubled{2160, 2.0, 2.0, {2480, 1340}, {54, 1012, 1866, 288}, 26};
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen->devicePixelRatio() > 1.5 ? doubled : ordinary;
}

} // namespace

TEST(HighDpi, FactorAndWindowFollowTheScreensDevicePixels)
{
    const Expected &want = expected();
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_DOUBLE_EQ(screen->devicePixelRatio(), want.ratio);
    ASSERT_EQ(devicePixels(screen->geometry().height(), want.ratio), want.screenHeight);
    EXPECT_FLOAT_EQ(ScreenScale::primaryScaleFactor(), want.factor);

    AttachedKeyboard attached(4);
    attached.state.scaleFactor = 0.0f; // as start-up leaves it: the window works it out
    ScriptedMainWindow window(attached.state, attached.fonts, positionCodedSkin(FaceSize));
    ASSERT_TRUE(window.initialise());
    EXPECT_FLOAT_EQ(attached.state.scaleFactor, want.factor);

    // The window, its report box and the box's font: base x factor device pixels.
    EXPECT_EQ(inDevicePixels(window.size(), want.ratio), want.window);
    EXPECT_EQ(inDevicePixels(window.reportBox()->geometry(), want.ratio), want.report);
    EXPECT_EQ(devicePixels(window.reportBox()->font().pixelSize(), want.ratio), want.reportFont);
    // Centred on the screen, which is as large as the window's share of it says.
    const QRect area = screen->geometry();
    EXPECT_EQ(window.pos(),
              QPoint((area.width() - window.width()) / 2, (area.height() - window.height()) / 2));

    // Painted at the screen's resolution, not stretched from logical pixels.
    window.show();
    const QImage grab = window.grab().toImage();
    EXPECT_EQ(grab.size(), want.window);

    // Pointer positions arrive in logical pixels and find the key under them.
    const ButtonRect esc = window.table()[13].rect;
    EXPECT_EQ(window.table()[13].keyIndex, 1);
    moveMouse(window, QPoint((esc.left + esc.right) / 2, (esc.top + esc.bottom) / 2));
    EXPECT_TRUE(window.table()[13].hovered);
    const ButtonRect base = MainWindowTable::build(4)[13].rect;
    EXPECT_EQ(devicePixels(esc.right - esc.left, want.ratio),
              scaledPixels(base.right - base.left, want.factor));
}
