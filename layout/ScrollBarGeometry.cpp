#include "layout/ScrollBarGeometry.h"

#include <algorithm>
#include <cstdint>

namespace {

int thumbLength(int track, const ScrollInfo &info)
{
    if (track <= 5)
        return 0;
    const std::int64_t range = std::int64_t(info.maximum) - info.minimum + 1;
    const std::int64_t page = std::max(info.page, 0);
    // A page beyond the range fills the track; an empty range has only the smallest thumb.
    std::int64_t length = range > 0 ? page * track / range : 0;
    length = std::min<std::int64_t>(length, track);
    return length <= 5 ? 6 : int(length);
}

} // namespace

ScrollBarGeometry::ScrollBarGeometry(int length, int cellSize, const ScrollInfo &info)
    : m_length(std::max(length, 0))
    , m_info(info)
{
    m_track = std::max(m_length - 2 * std::max(cellSize, 0), 0);
    m_arrow = m_track > 0 ? cellSize : m_length / 2;
    // A page larger than the range leaves nothing to scroll rather than a negative span.
    const std::int64_t span
        = std::int64_t(info.maximum) - info.minimum - std::max(info.page, 0) + 1;
    m_span = int(std::clamp<std::int64_t>(span, 0, INT32_MAX));
    m_thumb = m_span == 0 ? 0 : thumbLength(m_track, info);
    m_offset = offsetFor(m_thumb);
    m_grabThumb = std::min(thumbLength(m_track, info), m_track);
}

int ScrollBarGeometry::offsetFor(int thumb) const
{
    const int room = std::max(m_track - thumb, 0);
    if (m_span == 0)
        return room / 2;
    const int p = m_info.trackPosition != -1 ? m_info.trackPosition : m_info.position;
    // Positions outside the range would put the thumb over an arrow; keep it in the track.
    const std::int64_t offset = std::int64_t(room) * p / m_span;
    return int(std::clamp<std::int64_t>(offset, 0, room));
}

AxisSpan ScrollBarGeometry::partSpan(int part) const
{
    const int thumbStart = m_arrow + m_offset;
    const int thumbEnd = thumbStart + m_thumb;
    switch (part) {
    case FirstArrow:
        return {0, m_arrow};
    case TrackBefore:
        return {m_arrow, thumbStart};
    case Thumb:
        return {thumbStart, thumbEnd};
    case TrackAfter:
        return {thumbEnd, std::max(m_length - m_arrow, thumbEnd)};
    case SecondArrow:
        return {m_length - m_arrow, m_length};
    default:
        return {};
    }
}

int ScrollBarGeometry::hitTest(int along) const
{
    if (along < 0)
        return NoScrollPart;
    const int offset = offsetFor(m_grabThumb);
    if (along < m_arrow)
        return FirstArrow;
    if (along < m_arrow + offset)
        return TrackBefore;
    if (along < m_arrow + offset + m_grabThumb)
        return Thumb;
    if (along < m_length - m_arrow)
        return TrackAfter;
    return SecondArrow;
}

int ScrollBarGeometry::dragPosition(int delta, int dragStartPosition) const
{
    const int room = m_track - m_grabThumb;
    std::int64_t position = room != 0 ? std::int64_t(delta) * m_span / room : 0;
    position += dragStartPosition;
    if (position < m_info.minimum)
        return m_info.minimum;
    return int(std::min<std::int64_t>(position, m_span));
}

ScrollInfo adjustedRange(const ScrollInfo &info, int delta)
{
    ScrollInfo result = info;
    std::int64_t maximum = std::int64_t(info.maximum) + delta;
    if (maximum < 0)
        maximum = std::int64_t(info.page) - 1;
    result.maximum = int(std::clamp<std::int64_t>(maximum, INT32_MIN, INT32_MAX));
    const std::int64_t last = std::int64_t(result.maximum) - result.minimum - result.page + 1;
    std::int64_t position = std::min<std::int64_t>(info.position, last);
    position = std::max<std::int64_t>(position, result.minimum);
    result.position = int(position);
    return result;
}
