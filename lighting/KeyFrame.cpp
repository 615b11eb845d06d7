#include "lighting/KeyFrame.h"

#include <algorithm>

namespace KeyFrame {
namespace {

// A rectangle given by two corners in either order, as the drawing call takes it.
ButtonRect between(double x1, double y1, double x2, double y2)
{
    const int ax = int(x1);
    const int ay = int(y1);
    const int bx = int(x2);
    const int by = int(y2);
    return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
}

} // namespace

std::array<ButtonRect, 4> bars(const ButtonRect &client, float scale)
{
    // In double, as the frame turns client pixels back into base pixels for its copies.
    const double s = scale > 0.0f ? double(scale) : 1.0;
    const double l = client.left / s;
    const double t = client.top / s;
    const double r = client.right / s;
    const double b = client.bottom / s;
    return {
        between(l - 2, t - 2, l, b + 2), // left
        between(r + 2, t - 2, r, b + 2), // right
        between(l, t - 2, r, t),         // top
        between(l, b + 2, r, b),         // bottom
    };
}

} // namespace KeyFrame
