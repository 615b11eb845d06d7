#pragma once

#include <QImage>
#include <QRect>

class QPainter;

// Draws the cells of a scroll bar's skin (square cells of `cellSize` in columns and rows) into
// the bar's parts: stretched, tiled, or as a thumb whose ends keep their size.
class ScrollBarCells {
public:
    ScrollBarCells(const QImage &skin, int cellSize, Qt::Orientation orientation)
        : m_skin(skin)
        , m_cellSize(cellSize)
        , m_orientation(orientation)
    {}

    // The cell stretched over `target`.
    void draw(QPainter &painter, int column, int row, const QRect &target) const;
    // The cell repeated over `target` at its own size.
    void tile(QPainter &painter, int column, int row, const QRect &target) const;
    // Fixed ends of 3 pixels along the bar, the middle of the cell tiled between them.
    void drawThumb(QPainter &painter, int column, int row, const QRect &target) const;

private:
    const QImage &m_skin;
    int m_cellSize;
    Qt::Orientation m_orientation;
};
