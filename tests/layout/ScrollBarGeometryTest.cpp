#include "layout/ScrollBarGeometry.h"

#include <gtest/gtest.h>

namespace {

ScrollInfo info(int minimum, int maximum, int page, int position, int track = -1)
{
    return {minimum, maximum, page, position, track};
}

} // namespace

TEST(ScrollBarGeometry, PartsTileTheBar)
{
    // 200 pixels, arrows of 16: track 168; 100 rows, 10 visible: thumb 16, span 90.
    const ScrollBarGeometry g(200, 16, info(0, 99, 10, 0));
    EXPECT_EQ(g.track(), 168);
    EXPECT_EQ(g.thumb(), 16);
    EXPECT_EQ(g.span(), 90);
    EXPECT_EQ(g.partSpan(FirstArrow), (AxisSpan{0, 16}));
    EXPECT_EQ(g.partSpan(TrackBefore), (AxisSpan{16, 16}));
    EXPECT_EQ(g.partSpan(Thumb), (AxisSpan{16, 32}));
    EXPECT_EQ(g.partSpan(TrackAfter), (AxisSpan{32, 184}));
    EXPECT_EQ(g.partSpan(SecondArrow), (AxisSpan{184, 200}));

    const ScrollBarGeometry end(200, 16, info(0, 99, 10, 90));
    EXPECT_EQ(end.partSpan(Thumb), (AxisSpan{168, 184}));
    // The track position, while dragging, wins over the position.
    const ScrollBarGeometry drag(200, 16, info(0, 99, 10, 0, 90));
    EXPECT_EQ(drag.partSpan(Thumb), (AxisSpan{168, 184}));

    EXPECT_EQ(g.hitTest(-1), NoScrollPart);
    EXPECT_EQ(g.hitTest(0), FirstArrow);
    EXPECT_EQ(g.hitTest(15), FirstArrow);
    EXPECT_EQ(g.hitTest(16), Thumb);
    EXPECT_EQ(g.hitTest(31), Thumb);
    EXPECT_EQ(g.hitTest(32), TrackAfter);
    EXPECT_EQ(g.hitTest(183), TrackAfter);
    EXPECT_EQ(g.hitTest(184), SecondArrow);
    EXPECT_EQ(g.hitTest(500), SecondArrow);
    EXPECT_EQ(end.hitTest(100), TrackBefore);
}

TEST(ScrollBarGeometry, ShortBarHasOnlyArrows)
{
    for (int length : {32, 31, 10, 0}) {
        const ScrollBarGeometry g(length, 16, info(0, 99, 10, 40));
        EXPECT_EQ(g.track(), 0);
        EXPECT_EQ(g.thumb(), 0);
        EXPECT_EQ(g.arrow(), length / 2);
        EXPECT_EQ(g.partSpan(FirstArrow), (AxisSpan{0, length / 2}));
        EXPECT_EQ(g.partSpan(SecondArrow), (AxisSpan{length - length / 2, length}));
        EXPECT_EQ(g.partSpan(Thumb).length(), 0);
        if (length > 0) {
            EXPECT_EQ(g.hitTest(0), FirstArrow);
            EXPECT_EQ(g.hitTest(length - 1), SecondArrow);
        }
    }
}

TEST(ScrollBarGeometry, FullPageHasNoThumbAndTinyPageAtLeastSix)
{
    const ScrollBarGeometry full(200, 16, info(0, 9, 10, 0));
    EXPECT_EQ(full.span(), 0);
    EXPECT_EQ(full.thumb(), 0);
    EXPECT_EQ(full.partSpan(TrackBefore).length() + full.partSpan(TrackAfter).length(), 168);
    // Hit-testing still finds a thumb filling the track; dragging it goes nowhere.
    EXPECT_EQ(full.hitTest(100), Thumb);
    EXPECT_EQ(full.dragPosition(50, 0), 0);

    const ScrollBarGeometry tiny(200, 16, info(0, 9999, 1, 0));
    EXPECT_EQ(tiny.thumb(), 6);
    EXPECT_EQ(tiny.partSpan(Thumb), (AxisSpan{16, 22}));

    // A track of 5 pixels or less has no thumb at all.
    const ScrollBarGeometry narrow(37, 16, info(0, 99, 10, 0));
    EXPECT_EQ(narrow.track(), 5);
    EXPECT_EQ(narrow.thumb(), 0);
    EXPECT_EQ(narrow.hitTest(18), TrackAfter);
}

TEST(ScrollBarGeometry, BadStatesStayInsideTheTrack)
{
    // A page beyond the range, a position beyond the end or below zero, an empty range.
    const ScrollBarGeometry bigPage(200, 16, info(0, 9, 50, 0));
    EXPECT_EQ(bigPage.span(), 0);
    EXPECT_EQ(bigPage.thumb(), 0);
    const ScrollBarGeometry past(200, 16, info(0, 99, 10, 5000));
    EXPECT_EQ(past.partSpan(Thumb).end, 184);
    const ScrollBarGeometry negative(200, 16, info(0, 99, 10, -7));
    EXPECT_EQ(negative.partSpan(Thumb).start, 16);
    const ScrollBarGeometry empty(200, 16, info(0, -1, 0, 0));
    EXPECT_EQ(empty.span(), 0);
    EXPECT_EQ(empty.hitTest(100), Thumb);
    EXPECT_EQ(empty.grabThumb(), 6);
}

TEST(ScrollBarGeometry, DragMapsPixelsToPositions)
{
    const ScrollBarGeometry g(200, 16, info(0, 99, 10, 0));
    // 152 pixels of room for 90 positions past the first.
    EXPECT_EQ(g.dragPosition(0, 10), 10);
    EXPECT_EQ(g.dragPosition(76, 0), 45);
    EXPECT_EQ(g.dragPosition(-40, 10), 0);   // clamped to the minimum
    EXPECT_EQ(g.dragPosition(1000, 10), 90); // and to the span
    EXPECT_EQ(g.dragPosition(-1, 0), 0);
}

TEST(ScrollBarGeometry, AdjustRange)
{
    // Emptying keeps the page and sends the position home.
    const ScrollInfo emptied = adjustedRange(info(0, 40, 9, 25), -20000);
    EXPECT_EQ(emptied.maximum, 8);
    EXPECT_EQ(emptied.position, 0);
    EXPECT_EQ(adjustedRange(info(0, 0, 0, 0), -20000).maximum, -1);

    const ScrollInfo grown = adjustedRange(info(0, 8, 9, 0), 3);
    EXPECT_EQ(grown.maximum, 11);
    EXPECT_EQ(grown.position, 0);
    // Shrinking pulls a position beyond the new end back to the last full page.
    const ScrollInfo shrunk = adjustedRange(info(0, 20, 9, 12), -5);
    EXPECT_EQ(shrunk.maximum, 15);
    EXPECT_EQ(shrunk.position, 7);
    EXPECT_EQ(adjustedRange(info(5, 20, 30, 12), 0).position, 5);
}
