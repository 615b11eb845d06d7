#pragma once

#include "FacePainter.h"

#include <QRect>
#include <QString>

// Key caps with their legends, for every face that shows a keyboard. A cap sits 2 pixels
// inside its table rectangle, so rectangles copied at a slightly different size never carry
// a neighbour's edge.
namespace KeyCapPainter {

// Normal: a key without assignment (flat, dim legend); Checked: an assigned key (raised,
// bright legend); Hover: highlighted with the accent.
void paint(QPainter &painter, const QRect &tableRect, const QString &caption, FaceLook look);
// A key picked on the virtual keyboard: filled with the accent.
void paintPicked(QPainter &painter, const QRect &tableRect, const QString &caption);

} // namespace KeyCapPainter
