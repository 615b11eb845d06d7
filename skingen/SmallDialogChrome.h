#pragma once

#include "skin/FacePainter.h"

#include "layout/DrawnButton.h"

#include <QRect>
#include <QSize>

// What the small job windows (progress, firmware update) share: the body with the brand in
// its header, the close mark and the bar's track, in the main window's look.
namespace SmallDialogChrome {

// A face of `size` in the colour key, with body and header; the title itself is the dialog's
// label.
QImage face(QSize size, const QColor &colourKey);
// The close mark centred in the upper part of its table rectangle, in the given look.
void closeMark(QPainter &painter, const ButtonRect &rect, FaceLook look);
// The bar's recessed track; for the checked image, filled with the accent from end to end
// (the window copies as much of it as the progress reaches).
void bar(QPainter &painter, const ButtonRect &rect, FaceLook look);
// A push button of the table in the given look.
void button(QPainter &painter, const ButtonRect &rect, FaceLook look);
// A text field's recess around the field's rectangle.
void fieldWell(QPainter &painter, const ButtonRect &field, int padLeft = 5);

QRect rectOf(const ButtonRect &r);

} // namespace SmallDialogChrome
