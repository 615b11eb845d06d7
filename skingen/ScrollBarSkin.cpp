#include "ScrollBarSkin.h"

#include "layout/SkinSet.h"
#include "skin/FacePalette.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace {

constexpr int CellSize = 18;

QColor trackColour()
{
    return QColor("#18191c");
}

void paintTrack(QPainter &painter, const QRectF &cell, bool vertical)
{
    painter.fillRect(cell, trackColour());
    // A faint groove along the axis; uniform along it so that tiling shows no seams.
    painter.setPen(QPen(QColor("#202226"), 2));
    if (vertical)
        painter.drawLine(QPointF(cell.center().x(), cell.top()),
                         QPointF(cell.center().x(), cell.bottom()));
    else
        painter.drawLine(QPointF(cell.left(), cell.center().y()),
                         QPointF(cell.right(), cell.center().y()));
}

// direction: 0 up, 1 down, 2 left, 3 right.
void paintArrow(QPainter &painter, const QRectF &cell, int direction, int row)
{
    painter.fillRect(cell, trackColour());
    if (row > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(row == 2 ? QColor("#3a2a1c") : QColor("#2a2d33"));
        painter.drawRoundedRect(cell.adjusted(2, 2, -2, -2), 4, 4);
    }
    const QColor ink = row == 2 ? FacePalette::AccentLight
                                : (row == 1 ? QColor(Qt::white) : FacePalette::TextDim);
    QPen pen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF c = cell.center();
    const qreal a = 4.0;
    const qreal b = 2.2;
    QPolygonF chevron;
    switch (direction) {
    case 0:
        chevron << c + QPointF(-a, b) << c + QPointF(0, -b) << c + QPointF(a, b);
        break;
    case 1:
        chevron << c + QPointF(-a, -b) << c + QPointF(0, b) << c + QPointF(a, -b);
        break;
    case 2:
        chevron << c + QPointF(b, -a) << c + QPointF(-b, 0) << c + QPointF(b, a);
        break;
    default:
        chevron << c + QPointF(-b, -a) << c + QPointF(b, 0) << c + QPointF(-b, a);
        break;
    }
    painter.drawPolyline(chevron);
}

void paintThumb(QPainter &painter, const QRectF &cell, bool vertical, int row)
{
    painter.fillRect(cell, trackColour());
    const QColor top
        = row == 2 ? FacePalette::AccentLight : (row == 1 ? QColor("#6a707b") : QColor("#4a4f58"));
    const QColor bottom
        = row == 2 ? FacePalette::Accent : (row == 1 ? QColor("#5a606a") : QColor("#3d424a"));
    // Across the axis the thumb is inset; along it the cell is filled edge to edge apart
    // from the 3-pixel rounded ends, so that its middle tiles without seams.
    const QRectF bar = vertical ? cell.adjusted(4, 0.5, -4, -0.5) : cell.adjusted(0.5, 4, -0.5, -4);
    QLinearGradient fill(bar.topLeft(), vertical ? bar.topRight() : bar.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(bar, 3, 3);
}

} // namespace

QImage paintScrollBarSheet(int cellSize)
{
    QImage sheet(9 * cellSize, 3 * cellSize, QImage::Format_RGB32);
    sheet.fill(trackColour());
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 0; row < 3; ++row) {
        auto cell = [&](int column) {
            return QRectF(column * cellSize, row * cellSize, cellSize, cellSize);
        };
        paintArrow(painter, cell(0), 0, row);
        paintArrow(painter, cell(1), 1, row);
        paintThumb(painter, cell(2), true, row);
        paintTrack(painter, cell(3), true);
        paintArrow(painter, cell(4), 2, row);
        paintArrow(painter, cell(5), 3, row);
        paintThumb(painter, cell(6), false, row);
        paintTrack(painter, cell(7), false);
    }
    return sheet;
}

void paintScrollBarSkin(SkinFaces &faces)
{
    faces[SkinIds::ScrollBar] = paintScrollBarSheet(CellSize);
}
