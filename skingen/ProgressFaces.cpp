#include "ProgressFaces.h"

#include "SmallDialogChrome.h"
#include "layout/ProgressTable.h"
#include "skin/FacePalette.h"

namespace {

// A keyboard with a stream of data above it: what the window is busy with.
void paintEmblem(QPainter &painter, QPointF centre)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF board(centre.x() - 38, centre.y() - 4, 76, 30);
    painter.setPen(QPen(FacePalette::ButtonRim, 1.2));
    painter.setBrush(QColor("#1a1d22"));
    painter.drawRoundedRect(board, 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor("#3a3f48"));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 8; ++col)
            painter.drawRoundedRect(
                QRectF(board.left() + 6 + col * 8.2, board.top() + 5 + row * 7.5, 6, 5), 1.2, 1.2);
    }
    painter.drawRoundedRect(QRectF(board.left() + 18, board.top() + 20, 40, 5), 1.2, 1.2);
    // Three dots rising toward the keyboard, the nearest brightest.
    for (int i = 0; i < 3; ++i) {
        QColor dot = FacePalette::Accent;
        dot.setAlpha(255 - i * 70);
        painter.setBrush(dot);
        painter.drawEllipse(QPointF(centre.x(), centre.y() - 11 - i * 9), 2.6 - i * 0.4,
                            2.6 - i * 0.4);
    }
    painter.restore();
}

} // namespace

void paintProgressFaces(SkinFaces &faces)
{
    using namespace ProgressTable;
    SmallDialogChrome::paintJobFaces(
        faces,
        {SkinDialog::Progress, QSize(BaseWidth, BaseHeight), ColourKey, BarArea, build(),
         CloseButton},
        [](QPainter &painter) { paintEmblem(painter, QPointF(185, 80)); });
}
