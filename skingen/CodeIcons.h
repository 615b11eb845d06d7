#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The pictures on the code buttons of the key settings dialog: one per multimedia, browser,
// keyboard and backlight function, drawn as line icons in one ink.
namespace CodeIcons {

// Draws the icon of a device code centred in `box`; false when the code has none.
bool paint(QPainter &painter, int code, const QRectF &box, const QColor &ink);

} // namespace CodeIcons
