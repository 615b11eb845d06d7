#pragma once

#include "skin/FacePainter.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

// Key caps with their legends, for every face that shows a keyboard. A cap sits 2 pixels
// inside its table rectangle, so rectangles copied at a slightly different size never carry
// a neighbour's edge.
namespace KeyCapPainter {

// Normal: a key without assignment (flat, dim legend); Checked: an assigned key (raised,
// bright legend); Hover: highlighted with the accent.
void paint(QPainter &painter, const QRect &tableRect, const QString &caption, FaceLook look);
// A key picked on the virtual keyboard: filled with the accent.
void paintPicked(QPainter &painter, const QRect &tableRect, const QString &caption);
// A cap whose face is one flat colour, its legend light or dark as the colour needs (the
// press-count heatmap).
void paintTinted(QPainter &painter, const QRect &tableRect, const QString &caption,
                 const QColor &faceColour);
// The face of a cap inside its table rectangle, where the legend sits.
QRectF faceRect(const QRect &tableRect);

// One line of text of a cap's legend: where it sits in the face, in base pixels, and the size
// it is drawn in at most (smaller where it does not fit). Symbol keys have two, media keys
// none (they show an icon).
struct LegendPart {
    QRectF rect;
    QString text;
    int pixelSize;
    QFont::Weight weight;
    bool condensed;
    bool accent; // the Fn key's, in the accent colour unless the cap is plain
};
std::vector<LegendPart> legendParts(const QRect &tableRect, const QString &caption);
// The legend's colour on a cap of the look, and on a picked cap.
QColor legendColour(FaceLook look);
QColor pickedLegendColour();

} // namespace KeyCapPainter
