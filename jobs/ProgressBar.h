#pragma once

#include "layout/DrawnButton.h"

#include <QRect>

class QPainter;
struct SkinImages;

// The bar of the job windows: the checked face copied over the bar's area from its left
// edge, as far as the percentage reaches.
class ProgressBar {
public:
    ProgressBar(const ButtonRect &area, int width, int percent = 0)
        : m_area(area)
        , m_width(width)
        , m_percent(percent)
    {}

    int percent() const { return m_percent; }
    // A new percentage without a repaint (a window about to be shown).
    void reset(int percent) { m_percent = percent; }
    // Clamped to 0..100. Returns the client rectangle to repaint at `scale`: what the wider of
    // the old and new bars covers, empty when nothing changed.
    QRect setPercent(int percent, float scale);
    // Draws the bar in base pixels from the checked face; nothing without one.
    void paint(QPainter &painter, const SkinImages &faces) const;

private:
    QRect barRect(int percent) const;

    ButtonRect m_area;
    int m_width;
    int m_percent;
};
