#include "skin/ScrollBarCells.h"

#include <QPainter>

void ScrollBarCells::draw(QPainter &painter, int column, int row, const QRect &target) const
{
    if (target.isEmpty())
        return;
    const QRect source(column * m_cellSize, row * m_cellSize, m_cellSize, m_cellSize);
    if (target.size() == source.size())
        painter.drawImage(target.topLeft(), m_skin, source);
    else
        painter.drawImage(target, m_skin, source);
}

void ScrollBarCells::tile(QPainter &painter, int column, int row, const QRect &target) const
{
    const QRect source(column * m_cellSize, row * m_cellSize, m_cellSize, m_cellSize);
    if (target.isEmpty() || source.isEmpty())
        return;
    painter.save();
    painter.setClipRect(target);
    for (int y = target.top(); y <= target.bottom(); y += source.height()) {
        for (int x = target.left(); x <= target.right(); x += source.width())
            painter.drawImage(QPoint(x, y), m_skin, source);
    }
    painter.restore();
}

void ScrollBarCells::drawThumb(QPainter &painter, int column, int row, const QRect &target) const
{
    if (target.isEmpty())
        return;
    const int a = m_cellSize;
    const QRect cell(column * a, row * a, a, a);
    constexpr int cap = 3;
    if (a <= 2 * cap) {
        painter.drawImage(target, m_skin, cell);
        return;
    }
    // Fixed ends of 3 pixels, the middle of the cell tiled between them.
    if (m_orientation == Qt::Vertical) {
        painter.drawImage(QRect(target.left(), target.top(), target.width(), cap), m_skin,
                          QRect(cell.left(), cell.top(), a, cap));
        painter.drawImage(QRect(target.left(), target.bottom() - cap + 1, target.width(), cap),
                          m_skin, QRect(cell.left(), cell.bottom() - cap + 1, a, cap));
        const QRect middle = target.adjusted(0, cap, 0, -cap);
        const QRect source = cell.adjusted(0, cap, 0, -cap);
        painter.save();
        painter.setClipRect(middle);
        for (int y = middle.top(); y <= middle.bottom(); y += source.height())
            painter.drawImage(QRect(middle.left(), y, middle.width(), source.height()), m_skin,
                              source);
        painter.restore();
    } else {
        painter.drawImage(QRect(target.left(), target.top(), cap, target.height()), m_skin,
                          QRect(cell.left(), cell.top(), cap, a));
        painter.drawImage(QRect(target.right() - cap + 1, target.top(), cap, target.height()),
                          m_skin, QRect(cell.right() - cap + 1, cell.top(), cap, a));
        const QRect middle = target.adjusted(cap, 0, -cap, 0);
        const QRect source = cell.adjusted(cap, 0, -cap, 0);
        painter.save();
        painter.setClipRect(middle);
        for (int x = middle.left(); x <= middle.right(); x += source.width())
            painter.drawImage(QRect(x, middle.top(), source.width(), middle.height()), m_skin,
                              source);
        painter.restore();
    }
}
