#include "skin/CSkinScrollBar.h"

#include "tests/support/TestEvents.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int Cell = 16;

// Every cell a flat colour: red by column, green by row, so a pixel tells which cell it came from.
QImage skin()
{
    QImage image(9 * Cell, 3 * Cell, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 9; ++column)
            painter.fillRect(column * Cell, row * Cell, Cell, Cell,
                             QColor(column * 25, row * 100, 7));
    return image;
}

QColor cell(int column, int row)
{
    return QColor(column * 25, row * 100, 7);
}

// An owner that scrolls as a list would: lines by one, pages by the page, thumbs to the
// track position, always within 0..max - page + 1.
struct Owner {
    CSkinScrollBar &bar;
    std::vector<int> requests;

    explicit Owner(CSkinScrollBar &b)
        : bar(b)
    {
        QObject::connect(&bar, &CSkinScrollBar::scrollRequested, [this](int request, int track) {
            requests.push_back(request);
            ScrollInfo info = bar.scrollInfo();
            const int last = info.maximum - info.page + 1;
            switch (request) {
            case CSkinScrollBar::LineUp:
                info.position -= 1;
                break;
            case CSkinScrollBar::LineDown:
                info.position += 1;
                break;
            case CSkinScrollBar::PageUp:
                info.position -= info.page;
                break;
            case CSkinScrollBar::PageDown:
                info.position += info.page;
                break;
            default:
                info.position = track;
                break;
            }
            info.position = std::clamp(info.position, 0, std::max(last, 0));
            bar.setScrollInfo(info, CSkinScrollBar::PositionMask);
        });
    }
};

struct Bar : ::testing::Test {
    QWidget parent;
    CSkinScrollBar bar{Qt::Vertical, &parent};
    void SetUp() override
    {
        bar.setGeometry(10, 20, 40, 200);
        bar.setBitmap(skin());
        bar.setScrollInfo({0, 99, 10, 0, -1});
    }
};

} // namespace

TEST_F(Bar, SkinSetsThicknessAndPaintsCells)
{
    EXPECT_EQ(bar.geometry(), QRect(10, 20, Cell, 200));
    bar.setScrollInfo({0, 99, 10, 45, -1});
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(8, 2), cell(0, 0));   // first arrow
    EXPECT_EQ(shot.pixelColor(8, 197), cell(1, 0)); // second arrow
    EXPECT_EQ(shot.pixelColor(8, 30), cell(3, 0));  // track
    const QRect thumb = bar.partRect(Thumb);
    EXPECT_EQ(thumb, QRect(0, 16 + 76, Cell, 16));
    EXPECT_EQ(shot.pixelColor(8, thumb.center().y()), cell(2, 0));

    CSkinScrollBar horizontal(Qt::Horizontal, &parent);
    horizontal.setGeometry(0, 0, 200, 50);
    horizontal.setBitmap(skin());
    EXPECT_EQ(horizontal.height(), Cell);
    horizontal.setScrollInfo({0, 9, 10, 0, -1}); // nothing to scroll: track only
    const QImage wide = horizontal.grab().toImage();
    EXPECT_EQ(wide.pixelColor(2, 8), cell(4, 0));
    EXPECT_EQ(wide.pixelColor(100, 8), cell(7, 0));
    EXPECT_EQ(wide.pixelColor(197, 8), cell(5, 0));

    // A skin too small for its cells paints nothing and does not crash.
    CSkinScrollBar bare(Qt::Vertical, &parent);
    bare.setBitmap(QImage(5, 2, QImage::Format_RGB32));
    bare.resize(16, 100);
    bare.grab();
}

TEST_F(Bar, HoldingAnArrowRepeatsUntilTheEnd)
{
    Owner owner(bar);
    bar.setScrollInfo({0, 12, 10, 0, -1}); // positions 0..3
    sendMouse(bar, QEvent::MouseButtonPress, {8, 195}, Qt::LeftButton);
    EXPECT_EQ(owner.requests, (std::vector<int>{CSkinScrollBar::LineDown})); // at once
    EXPECT_EQ(bar.activeTimer(), CSkinScrollBar::FirstDelayTimer);
    EXPECT_EQ(bar.timerInterval(), 500);
    EXPECT_EQ(bar.grab().toImage().pixelColor(8, 195), cell(1, 2)); // pressed

    bar.fireTimer(CSkinScrollBar::FirstDelayTimer);
    EXPECT_TRUE(bar.isAutoRepeat());
    EXPECT_EQ(bar.activeTimer(), CSkinScrollBar::RepeatTimer);
    EXPECT_EQ(bar.timerInterval(), 100);
    EXPECT_EQ(owner.requests.size(), 2u);

    // Off the arrow the repeat pauses and the arrow looks released; back on, it resumes.
    sendMouse(bar, QEvent::MouseMove, {8, 100}, Qt::LeftButton);
    EXPECT_TRUE(bar.isPointerOutside());
    EXPECT_EQ(bar.grab().toImage().pixelColor(8, 195), cell(1, 0));
    bar.fireTimer(CSkinScrollBar::RepeatTimer);
    EXPECT_EQ(owner.requests.size(), 2u);
    sendMouse(bar, QEvent::MouseMove, {8, 196}, Qt::LeftButton);
    bar.fireTimer(CSkinScrollBar::RepeatTimer);
    EXPECT_EQ(owner.requests.size(), 3u);
    EXPECT_EQ(bar.scrollInfo().position, 3);

    // The owner stops at its last full page; the bar keeps asking until the maximum is reached
    // or the button is released.
    bar.fireTimer(CSkinScrollBar::RepeatTimer);
    EXPECT_EQ(bar.scrollInfo().position, 3);
    sendMouse(bar, QEvent::MouseButtonRelease, {8, 196});
    EXPECT_EQ(bar.activeTimer(), 0);
    EXPECT_FALSE(bar.isAutoRepeat());
    EXPECT_EQ(bar.pressedPart(), NoScrollPart);

    // With the maximum reached the repeat stops by itself.
    bar.setScrollInfo({0, 5, 1, 3, -1});
    owner.requests.clear();
    sendMouse(bar, QEvent::MouseButtonPress, {8, 195}, Qt::LeftButton);
    bar.fireTimer(CSkinScrollBar::FirstDelayTimer);
    EXPECT_EQ(bar.scrollInfo().position, 5);
    bar.fireTimer(CSkinScrollBar::RepeatTimer);
    EXPECT_EQ(bar.activeTimer(), 0);
    EXPECT_EQ(owner.requests.size(), 2u);
    sendMouse(bar, QEvent::MouseButtonRelease, {8, 195});
}

TEST_F(Bar, HoldingTheTrackPagesUntilTheThumbIsUnderThePointer)
{
    Owner owner(bar);
    bar.setScrollInfo({0, 99, 10, 90, -1}); // thumb at the bottom
    const QPoint at(8, 60);
    sendMouse(bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
    EXPECT_EQ(bar.pressedPart(), TrackBefore);
    bar.fireTimer(CSkinScrollBar::FirstDelayTimer);
    for (int i = 0; i < 20 && bar.activeTimer() != 0; ++i)
        bar.fireTimer(CSkinScrollBar::RepeatTimer);
    EXPECT_EQ(bar.activeTimer(), 0);
    EXPECT_TRUE(bar.partRect(Thumb).contains(at));
    for (int request : owner.requests)
        EXPECT_EQ(request, CSkinScrollBar::PageUp);
    sendMouse(bar, QEvent::MouseButtonRelease, at);
}

TEST_F(Bar, ThumbDragTracksThenSetsThePosition)
{
    Owner owner(bar);
    std::vector<int> tracks;
    QObject::connect(&bar, &CSkinScrollBar::scrollRequested, [&](int request, int track) {
        if (request == CSkinScrollBar::ThumbTrack || request == CSkinScrollBar::ThumbPosition)
            tracks.push_back(track);
    });
    sendMouse(bar, QEvent::MouseButtonPress, {8, 20}, Qt::LeftButton);
    EXPECT_TRUE(bar.isDragging());
    EXPECT_EQ(bar.scrollInfo().trackPosition, 0);
    sendMouse(bar, QEvent::MouseMove, {8, 96}, Qt::LeftButton); // half the room: 45
    EXPECT_EQ(bar.grab().toImage().pixelColor(8, bar.partRect(Thumb).center().y()), cell(2, 2));
    sendMouse(bar, QEvent::MouseMove, {8, 96}, Qt::LeftButton);   // no change, no request
    sendMouse(bar, QEvent::MouseMove, {30, 900}, Qt::LeftButton); // far beyond: the end
    sendMouse(bar, QEvent::MouseButtonRelease, {30, 900});
    EXPECT_EQ(tracks, (std::vector<int>{45, 90, 90}));
    EXPECT_EQ(owner.requests.back(), CSkinScrollBar::ThumbPosition);
    EXPECT_FALSE(bar.isDragging());
    EXPECT_EQ(bar.scrollInfo().trackPosition, -1);
    EXPECT_EQ(bar.scrollInfo().position, 90);
}

TEST_F(Bar, HotPartsAndDoubleClicks)
{
    Owner owner(bar);
    sendMouse(bar, QEvent::MouseMove, {8, 5});
    EXPECT_EQ(bar.hotPart(), FirstArrow);
    EXPECT_EQ(bar.grab().toImage().pixelColor(8, 5), cell(0, 1));
    sendMouse(bar, QEvent::MouseMove, {8, 20});
    EXPECT_EQ(bar.hotPart(), Thumb);
    EXPECT_EQ(bar.grab().toImage().pixelColor(8, 5), cell(0, 0));
    EXPECT_EQ(bar.grab().toImage().pixelColor(8, 20), cell(2, 1));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&bar, &leave);
    EXPECT_EQ(bar.hotPart(), NoScrollPart);

    sendMouse(bar, QEvent::MouseButtonDblClick, {8, 195}, Qt::LeftButton);
    EXPECT_TRUE(owner.requests.empty());
    EXPECT_EQ(bar.activeTimer(), 0);
}

TEST_F(Bar, ScrollInformationRequests)
{
    ScrollInfo info;
    bar.setScrollInfo({5, 50, 7, 9, -1}, CSkinScrollBar::PageMask);
    bar.getScrollInfo(info);
    EXPECT_EQ(info, (ScrollInfo{0, 99, 7, 0, -1}));
    bar.setScrollInfo({5, 50, 7, 9, -1}, CSkinScrollBar::RangeMask | CSkinScrollBar::PositionMask);
    info = ScrollInfo{1, 2, 3, 4, 5};
    bar.getScrollInfo(info, CSkinScrollBar::PositionMask);
    EXPECT_EQ(info, (ScrollInfo{1, 2, 3, 9, 5}));

    bar.adjustRange(-20000);
    EXPECT_EQ(bar.scrollInfo().maximum, 6);
    EXPECT_EQ(bar.scrollInfo().position, 5);
}

TEST_F(Bar, KeysScrollAndTheValueIsAccessible)
{
    Owner owner(bar);
    EXPECT_EQ(bar.focusPolicy(), Qt::TabFocus);
    const auto key = [&](int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(&bar, &press);
        return press.isAccepted();
    };
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    key(Qt::Key_PageDown);
    EXPECT_EQ(bar.scrollInfo().position, 11);
    key(Qt::Key_End);
    EXPECT_EQ(bar.scrollInfo().position, 90);
    key(Qt::Key_Home);
    EXPECT_EQ(bar.scrollInfo().position, 0);
    EXPECT_FALSE(key(Qt::Key_A)); // not the bar's: on to its owner
    EXPECT_EQ(owner.requests,
              (std::vector<int>{CSkinScrollBar::LineDown, CSkinScrollBar::LineDown,
                                CSkinScrollBar::LineUp, CSkinScrollBar::PageDown,
                                CSkinScrollBar::ThumbPosition, CSkinScrollBar::ThumbPosition}));

    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::ScrollBar);
    QAccessibleValueInterface *value = access->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->maximumValue().toInt(), 90);
    value->setCurrentValue(500); // clamped to the last position
    EXPECT_EQ(value->currentValue().toInt(), 90);
    value->setCurrentValue(40);
    EXPECT_EQ(bar.scrollInfo().position, 40);
}
