#include "jobs/ProgressBar.h"

#include "layout/ScaleFactor.h"
#include "skin/SkinImages.h"

#include <QPainter>

#include <algorithm>

namespace {

// Smoothing reaches a pixel or two beyond a stretched rectangle.
constexpr int RepaintMargin = 3;

} // namespace

QRect ProgressBar::barRect(int percent) const
{
    return QRect(m_area.left, m_area.top, percent * m_width / 100, m_area.height());
}

QRect ProgressBar::setPercent(int percent, float scale)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == m_percent)
        return {};
    const int widest = std::max(percent, m_percent);
    m_percent = percent;
    const QRect bar = barRect(widest);
    return QRect(scaledPixels(bar.left(), scale), scaledPixels(bar.top(), scale),
                 scaledPixels(bar.width(), scale), scaledPixels(bar.height(), scale))
        .adjusted(-RepaintMargin, -RepaintMargin, RepaintMargin, RepaintMargin);
}

void ProgressBar::paint(QPainter &painter, const SkinImages &faces) const
{
    const QRect bar = barRect(m_percent);
    if (bar.width() <= 0 || faces.checked.isNull())
        return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    faces.checked.copy(painter, bar, faces.background);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
