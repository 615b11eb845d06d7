#include "skin/CSkinScrollBar.h"

#include "layout/WindowsColour.h"
#include "skin/FrameAccessible.h"
#include "skin/ScrollBarCells.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

CSkinScrollBar::CSkinScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
{
    setMouseTracking(true);
    // Reached by Tab, never taken by a click: the list beside it keeps the focus.
    setFocusPolicy(Qt::TabFocus);
    FrameAccessible::install();
    connect(&m_timer, &QTimer::timeout, this, [this] { fireTimer(m_timerId); });
}

void CSkinScrollBar::setBitmap(const QImage &skin)
{
    m_cellSize = skin.width() / 9;
    m_rowHeight = skin.height() / 3;
    // A skin too small for its cells is no skin: the bar then paints nothing.
    m_skin = m_cellSize > 0 && m_rowHeight >= m_cellSize ? skin : QImage();
    if (m_skin.isNull())
        return;
    if (m_orientation == Qt::Vertical)
        setGeometry(x(), y(), m_cellSize, height());
    else
        setGeometry(x(), y(), width(), m_cellSize);
    update();
}

int CSkinScrollBar::setScrollInfo(const ScrollInfo &info, unsigned mask, bool redraw)
{
    if (mask & PageMask)
        m_info.page = info.page;
    if (mask & PositionMask)
        m_info.position = info.position;
    if (mask & RangeMask) {
        m_info.minimum = info.minimum;
        m_info.maximum = info.maximum;
    }
    if (redraw)
        update();
    return 1;
}

int CSkinScrollBar::getScrollInfo(ScrollInfo &info, unsigned mask) const
{
    if (mask & PageMask)
        info.page = m_info.page;
    if (mask & PositionMask)
        info.position = m_info.position;
    if (mask & TrackPositionMask)
        info.trackPosition = m_info.trackPosition;
    if (mask & RangeMask) {
        info.minimum = m_info.minimum;
        info.maximum = m_info.maximum;
    }
    return 1;
}

void CSkinScrollBar::adjustRange(int delta)
{
    setScrollInfo(adjustedRange(m_info, delta), RangeMask | PageMask | PositionMask, true);
}

ScrollBarGeometry CSkinScrollBar::geometryNow() const
{
    return ScrollBarGeometry(length(), m_cellSize, m_info);
}

QRect CSkinScrollBar::partRect(int part) const
{
    const AxisSpan span = geometryNow().partSpan(part);
    if (m_orientation == Qt::Vertical)
        return QRect(0, span.start, m_cellSize, span.length());
    return QRect(span.start, 0, span.length(), m_cellSize);
}

int CSkinScrollBar::length() const
{
    return m_orientation == Qt::Vertical ? height() : width();
}

int CSkinScrollBar::along(const QPoint &point) const
{
    return m_orientation == Qt::Vertical ? point.y() : point.x();
}

int CSkinScrollBar::hitTest(const QPoint &point) const
{
    return geometryNow().hitTest(along(point));
}

void CSkinScrollBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    m_pointer = point;
    const int part = hitTest(point);
    if (part == Thumb) {
        m_dragging = true;
        m_pressPoint = point;
        m_info.trackPosition = m_info.position;
        m_dragStartPos = m_info.position;
        repaintPart(Thumb);
        return;
    }
    if (part == NoScrollPart)
        return;
    m_pressedPart = part;
    emit scrollRequested(part, 0);
    startRepeat(FirstDelayTimer, 500);
    m_pointerOutside = false;
    repaintPart(part);
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent *event)
{
    pointerMoved(event->position().toPoint());
}

void CSkinScrollBar::pointerMoved(const QPoint &point)
{
    m_pointer = point;
    if (m_dragging) {
        const ScrollBarGeometry geometry = geometryNow();
        const int position
            = geometry.dragPosition(along(point) - along(m_pressPoint), m_dragStartPos);
        if (position == m_info.trackPosition)
            return;
        repaintPart(Thumb); // the strip the thumb leaves
        m_info.trackPosition = position;
        repaintPart(Thumb);
        emit scrollRequested(ThumbTrack, position);
    } else if (m_pressedPart == NoScrollPart) {
        const int part = hitTest(point);
        if (part == m_hotPart)
            return;
        const int old = m_hotPart;
        m_hotPart = part;
        repaintPart(old);
        repaintPart(part);
    } else {
        const bool outside = !partRect(m_pressedPart).contains(point);
        if (outside != m_pointerOutside) {
            m_pointerOutside = outside;
            repaintPart(m_pressedPart);
        }
    }
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    m_pointer = point;
    if (!m_dragging) {
        if (m_pressedPart == NoScrollPart)
            return;
        stopRepeat();
        m_autoRepeat = false;
        const int part = m_pressedPart;
        m_pressedPart = NoScrollPart;
        m_pointerOutside = false;
        m_hotPart = NoScrollPart; // the next move shows the hot look again
        repaintPart(part);
        return;
    }
    m_dragging = false;
    emit scrollRequested(ThumbPosition, m_info.trackPosition);
    m_info.trackPosition = -1;
    m_hotPart = hitTest(point) == Thumb ? Thumb : NoScrollPart;
    update();
}

void CSkinScrollBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a fast double click does nothing.
    event->accept();
}

void CSkinScrollBar::wheelEvent(QWheelEvent *event)
{
    turnWheel(event->angleDelta());
    event->accept();
}

void CSkinScrollBar::turnWheel(QPoint angleDelta)
{
    constexpr int Notch = 120;
    // A vertical wheel scrolls either bar; a sideways one only a horizontal bar.
    const int turned
        = m_orientation == Qt::Horizontal && angleDelta.x() != 0 ? angleDelta.x() : angleDelta.y();
    if (turned == 0)
        return;
    // A turn the other way starts afresh.
    if ((turned > 0) != (m_wheelTurned > 0))
        m_wheelTurned = 0;
    m_wheelTurned += turned;
    // One line a notch, as an arrow steps: where the position is a selection, it moves by one.
    while (m_wheelTurned >= Notch) {
        m_wheelTurned -= Notch;
        emit scrollRequested(LineUp, 0);
    }
    while (m_wheelTurned <= -Notch) {
        m_wheelTurned += Notch;
        emit scrollRequested(LineDown, 0);
    }
}

void CSkinScrollBar::leaveEvent(QEvent *)
{
    if (!m_dragging && m_pressedPart == NoScrollPart)
        pointerMoved(QPoint(-1, -1));
}

void CSkinScrollBar::fireTimer(int timerId)
{
    if (timerId == FirstDelayTimer) {
        m_autoRepeat = true;
        startRepeat(RepeatTimer, 100);
    } else if (timerId != RepeatTimer) {
        return;
    }
    if (m_pressedPart == NoScrollPart) {
        stopRepeat();
        return;
    }
    if (m_pointerOutside)
        return;
    switch (m_pressedPart) {
    case FirstArrow:
        if (m_info.position <= m_info.minimum)
            stopRepeat();
        else
            emit scrollRequested(LineUp, 0);
        break;
    case SecondArrow:
        if (m_info.position >= m_info.maximum)
            stopRepeat();
        else
            emit scrollRequested(LineDown, 0);
        break;
    default:
        // Paging stops once the thumb has come under the pointer.
        if (partRect(Thumb).contains(m_pointer))
            stopRepeat();
        else
            emit scrollRequested(m_pressedPart, 0);
        break;
    }
}

void CSkinScrollBar::startRepeat(int timerId, int interval)
{
    m_timerId = timerId;
    m_timer.start(interval);
}

void CSkinScrollBar::stopRepeat()
{
    m_timer.stop();
    m_timerId = 0;
}

void CSkinScrollBar::repaintPart(int part)
{
    if (part == NoScrollPart)
        return;
    update(partRect(part));
}

int CSkinScrollBar::column(int part) const
{
    const int first = m_orientation == Qt::Vertical ? 0 : 4;
    switch (part) {
    case FirstArrow:
        return first;
    case SecondArrow:
        return first + 1;
    case Thumb:
        return first + 2;
    default:
        return first + 3;
    }
}

int CSkinScrollBar::rowOf(int part) const
{
    if (part == Thumb)
        return m_dragging ? 2 : (m_hotPart == Thumb && m_pressedPart == NoScrollPart ? 1 : 0);
    if (part != FirstArrow && part != SecondArrow)
        return 0;
    if (m_pressedPart == part)
        return m_pointerOutside ? 0 : 2;
    return m_pressedPart == NoScrollPart && m_hotPart == part ? 1 : 0;
}

void CSkinScrollBar::paintEvent(QPaintEvent *)
{
    if (m_skin.isNull())
        return;
    QPainter painter(this);
    const ScrollBarCells cells(m_skin, m_cellSize, m_orientation);
    cells.draw(painter, column(FirstArrow), rowOf(FirstArrow), partRect(FirstArrow));
    cells.draw(painter, column(SecondArrow), rowOf(SecondArrow), partRect(SecondArrow));
    cells.tile(painter, column(TrackBefore), 0, partRect(TrackBefore));
    cells.tile(painter, column(TrackAfter), 0, partRect(TrackAfter));
    cells.drawThumb(painter, column(Thumb), rowOf(Thumb), partRect(Thumb));
    if (hasFocus()) {
        // The faces' focus mark: the accent round the bar.
        painter.setPen(QPen(colourFromWindows(0x006FFF), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void CSkinScrollBar::requestPosition(int position)
{
    const int last = std::max(m_info.minimum, m_info.maximum - m_info.page + 1);
    emit scrollRequested(ThumbPosition, std::clamp(position, m_info.minimum, last));
}

void CSkinScrollBar::keyPressEvent(QKeyEvent *event)
{
    const bool vertical = m_orientation == Qt::Vertical;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        if ((event->key() == Qt::Key_Up) != vertical)
            break;
        emit scrollRequested(LineUp, 0);
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        if ((event->key() == Qt::Key_Down) != vertical)
            break;
        emit scrollRequested(LineDown, 0);
        return;
    case Qt::Key_PageUp:
        emit scrollRequested(PageUp, 0);
        return;
    case Qt::Key_PageDown:
        emit scrollRequested(PageDown, 0);
        return;
    case Qt::Key_Home:
        requestPosition(m_info.minimum);
        return;
    case Qt::Key_End:
        requestPosition(m_info.maximum);
        return;
    default:
        break;
    }
    event->ignore();
}

void CSkinScrollBar::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void CSkinScrollBar::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}
