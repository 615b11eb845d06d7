#pragma once

#include "skin/FacePainter.h"

#include <QRectF>
#include <QString>

// Pieces of the smaller dialogs' faces, in the main window's look: a header with the logo,
// page tabs, radios, check boxes, list rows, text field frames and the close mark. Each piece
// is painted in the look of the face it goes on.
namespace DialogParts {

// The title band across the top of a dialog `width` wide, with the logo at the left.
void header(QPainter &painter, int width, int height);
// A recessed panel for the body of a dialog or a group within it.
void panel(QPainter &painter, const QRectF &rect);
// A page tab; the tab of the page showing is lit whatever the look.
void pageTab(QPainter &painter, const QRectF &rect, FaceLook look, bool active);
// The line under a row of tabs, broken under the active one.
void tabBaseline(QPainter &painter, qreal y, qreal left, qreal right);
void radio(QPainter &painter, const QPointF &centre, FaceLook look);
void check(QPainter &painter, const QRectF &box, FaceLook look);
// A row of a list or of choices: nothing, a highlight, or the accent for the selected one.
void listRow(QPainter &painter, const QRectF &rect, FaceLook look);
// The frame of a list: rows and scroll bar sit inside.
void listFrame(QPainter &painter, const QRectF &rect);
// The frame of a text field, dark as the fields themselves.
void fieldFrame(QPainter &painter, const QRectF &rect);
// OK: the push button in the accent.
void primaryButton(QPainter &painter, const QRectF &rect, FaceLook look);
// The dialog's close mark; red under the pointer.
void closeMark(QPainter &painter, const QRectF &rect, FaceLook look);
// A flat caption plate (not a button).
void plate(QPainter &painter, const QRectF &rect);
// A square cap for an icon (multimedia and function codes) and the ink its icon takes.
void iconCap(QPainter &painter, const QRectF &rect, FaceLook look);
QColor iconInk(FaceLook look);
// A place where a keyboard has no button: a faint outline keeps the grid.
void emptySocket(QPainter &painter, const QRectF &rect);

} // namespace DialogParts
