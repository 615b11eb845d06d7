#pragma once

#include "skin/FacePainter.h"

#include "layout/DrawnButton.h"
#include "layout/SkinSet.h"

#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <vector>

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

// A job window's faces as its table and layout describe them.
struct JobWindow {
    SkinDialog dialog;
    QSize size;
    std::uint32_t colourKey;
    ButtonRect bar;
    std::vector<DrawnButton> entries;
    int closeId;
};
// Its background, hover and checked faces, keyed out, into `faces`: the body, the window's
// own `parts`, the bar's track and every hittable entry (the close mark for the close id, a
// push button for the others).
void paintJobFaces(SkinFaces &faces, const JobWindow &window,
                   const std::function<void(QPainter &)> &parts);

} // namespace SmallDialogChrome
