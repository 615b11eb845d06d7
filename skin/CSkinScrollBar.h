#pragma once

#include "layout/ScrollBarGeometry.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

// A scroll bar drawn entirely from one skin of 9 x 3 square cells (rows normal, hot,
// pressed; columns arrow, arrow, thumb, track for a vertical bar, then the same for a
// horizontal one). It keeps its own scroll state and asks its owner to scroll through
// scrollRequested(), as a system scroll bar would; the owner answers with setScrollInfo().
class CSkinScrollBar : public QWidget {
    Q_OBJECT
public:
    // Scroll requests, as the owner receives them.
    enum Request : int {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
    };
    // Which fields a scroll information request reads or writes.
    enum InfoMask : unsigned {
        RangeMask = 0x1,
        PageMask = 0x2,
        PositionMask = 0x4,
        TrackPositionMask = 0x10,
        AllMask = 0x17,
    };
    // Timer ids: the first delay before repeating, then the repeat itself.
    static constexpr int FirstDelayTimer = 200;
    static constexpr int RepeatTimer = 100;

    explicit CSkinScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    Qt::Orientation orientation() const { return m_orientation; }

    // The skin is shared, not copied; the bar's thickness becomes one cell.
    void setBitmap(const QImage &skin);
    int cellSize() const { return m_cellSize; }

    // Copies the fields named by mask; with redraw the track and thumb are repainted.
    int setScrollInfo(const ScrollInfo &info, unsigned mask = AllMask, bool redraw = true);
    // Fills the fields named by mask.
    int getScrollInfo(ScrollInfo &info, unsigned mask = AllMask) const;
    ScrollInfo scrollInfo() const { return m_info; }
    // The owner's row count changed by delta; -20000 empties the range.
    void adjustRange(int delta);
    // Asks the owner to scroll to a position, clamped to the range, as a thumb dropped there
    // would (keyboard and assistive technology).
    void requestPosition(int position);
    // The mouse wheel turned over the bar or what it scrolls (in eighths of a degree, as Qt
    // gives them): a line up or down per notch, finer wheels adding up to notches.
    void turnWheel(QPoint angleDelta);

    ScrollBarGeometry geometryNow() const;
    QRect partRect(int part) const;
    int hitTest(const QPoint &point) const;

    // Interaction state, also for tests.
    int hotPart() const { return m_hotPart; }
    int pressedPart() const { return m_pressedPart; }
    bool isDragging() const { return m_dragging; }
    bool isAutoRepeat() const { return m_autoRepeat; }
    bool isPointerOutside() const { return m_pointerOutside; }
    // The running timer (FirstDelayTimer, RepeatTimer) or 0, and its interval.
    int activeTimer() const { return m_timerId; }
    int timerInterval() const { return m_timer.interval(); }
    // What a timer does when it fires; the bar's own timer calls it, tests may too.
    void fireTimer(int timerId);

signals:
    // trackPosition is set for the thumb requests, 0 for the others.
    void scrollRequested(int request, int trackPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // Up and Down (Left and Right across), Page Up and Down, Home and End scroll as the arrows,
    // the track and the thumb would; other keys go on to the owner.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Length along the axis: the height of a vertical bar, the width of a horizontal one.
    int length() const;
    int along(const QPoint &point) const;
    void pointerMoved(const QPoint &point);
    void startRepeat(int timerId, int interval);
    void stopRepeat();
    void repaintPart(int part);
    int column(int part) const;
    int rowOf(int part) const;

    Qt::Orientation m_orientation;
    QImage m_skin;
    int m_cellSize = 0;
    int m_rowHeight = 0;
    ScrollInfo m_info;
    bool m_dragging = false;
    QPoint m_pressPoint;
    int m_dragStartPos = 0;
    int m_pressedPart = NoScrollPart;
    bool m_autoRepeat = false;
    int m_hotPart = NoScrollPart;
    bool m_pointerOutside = false;
    QPoint m_pointer{-1, -1};
    QTimer m_timer;
    int m_timerId = 0;
    int m_wheelTurned = 0; // eighths of a degree not yet a whole notch
};
