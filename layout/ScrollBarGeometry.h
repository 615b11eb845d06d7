#pragma once

// The scroll state a skinned scroll bar keeps. trackPosition -1: no thumb drag in progress.
struct ScrollInfo {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    int trackPosition = -1;

    bool operator==(const ScrollInfo &) const = default;
};

// Parts of a scroll bar, numbered with the scroll request each one sends while held.
enum ScrollBarPart : int {
    NoScrollPart = -1,
    FirstArrow = 0,
    SecondArrow = 1,
    TrackBefore = 2,
    TrackAfter = 3,
    Thumb = 5,
};

// [start, end) along the bar's axis.
struct AxisSpan {
    int start = 0;
    int end = 0;

    int length() const { return end - start; }
    bool contains(int v) const { return v >= start && v < end; }
    bool operator==(const AxisSpan &) const = default;
};

// Layout of a bar of `length` pixels along its axis with arrow cells of `cellSize`, for one
// scroll state. Used for painting, hit-testing and thumb dragging alike.
class ScrollBarGeometry {
public:
    ScrollBarGeometry(int length, int cellSize, const ScrollInfo &info);

    int track() const { return m_track; }
    int arrow() const { return m_arrow; }
    // Positions the thumb can take beyond the minimum; 0 when there is nothing to scroll.
    int span() const { return m_span; }
    // Drawn thumb length: 0 when there is no room or nothing to scroll, else at least 6.
    int thumb() const { return m_thumb; }
    int offset() const { return m_offset; }

    AxisSpan partSpan(int part) const;
    // Part under a coordinate along the axis; NoScrollPart for a negative one.
    int hitTest(int along) const;
    // Position reached by moving the thumb `delta` pixels from where a drag began.
    int dragPosition(int delta, int dragStartPosition) const;

    // Thumb length for hit-testing and dragging: as drawn, but present even with nothing to scroll.
    int grabThumb() const { return m_grabThumb; }

private:
    int offsetFor(int thumb) const;

    int m_length;
    ScrollInfo m_info;
    int m_track;
    int m_arrow;
    int m_span;
    int m_thumb;
    int m_offset;
    int m_grabThumb;
};

// The range change a list makes when its row count changes by `delta`; -20000 empties it.
ScrollInfo adjustedRange(const ScrollInfo &info, int delta);
