#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

// The part of a window that is seen and clicked when its base-size face is stretched over it:
// a window pixel belongs to it when the face pixel under the pixel's centre is neither of
// alpha 0 nor of the key colour, which are the pixels the smooth stretch shows more than half
// covered. Built row by row from the face, without a stretched copy of it.
namespace WindowShape {

QRegion fromFace(const QImage &face, const QSize &window, QRgb key);

} // namespace WindowShape
