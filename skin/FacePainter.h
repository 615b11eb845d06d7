#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <map>

// Bitmaps by resource id, as the generator collects them.
using SkinFaces = std::map<int, QImage>;

// How a face shows its buttons: the background, the hover image, the checked image.
enum class FaceLook { Normal, Hover, Checked };

// Drawing pieces shared by the faces of every dialog.
namespace FacePainter {

// A face of the given size filled with the colour key, ready for the body.
QImage blankFace(int width, int height, const QColor &colourKey);
// The finished face as stored: pixels of the colour key made transparent (alpha 0), which is
// how the program tells the window's shape without the key.
QImage keyedOut(const QImage &face, const QColor &colourKey);
// The faces' type: DejaVu Sans, or its condensed cut for words on narrow key caps; Chinese
// characters in the Chinese face.
QFont font(int pixelSize, QFont::Weight weight = QFont::Normal, bool condensed = false);

// The window's body: a crisp silhouette against the colour key (no blending with it), a
// dark rim, a vertical gradient and a light inner edge.
void body(QPainter &painter, const QRect &rect, int radius);
// A recessed area (keyboard case, text field frame).
void well(QPainter &painter, const QRectF &rect, qreal radius, const QColor &fill);
// A rounded push button in the given look.
void pushButton(QPainter &painter, const QRectF &rect, FaceLook look);
// Text fitted into a rectangle: shrunk from `pixelSize` until it fits, never below 7 pixels,
// and cut short with an ellipsis where even that is too wide.
void fittedText(QPainter &painter, const QRectF &rect, const QString &text, int pixelSize,
                QFont::Weight weight, const QColor &colour, int flags = Qt::AlignCenter,
                bool condensed = false);

} // namespace FacePainter
