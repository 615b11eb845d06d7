#pragma once

#include "app/HeatmapScale.h"
#include "layout/DrawnButton.h"

#include <QImage>
#include <QRect>

class QPainter;
struct PressCounters;

// The press-count heatmap as the main window shows it and quillo-cli writes it: every key cap
// in the colour of its count, with the legend of the scale. Base pixels of the main face.
namespace HeatmapPainter {

// The keyboard's case in the main window's face.
constexpr ButtonRect KeyboardArea{104, 150, 1172, 478};
// What the legend needs at least.
constexpr int LegendWidth = 204;
constexpr int LegendHeight = 30;

// One key's cap over its table rectangle.
void paintKey(QPainter &painter, const QRect &tableRect, int key, int count,
              const HeatmapScale &scale);
// The accent ring of the key under the pointer.
void paintHover(QPainter &painter, const QRect &tableRect);
// The "0" swatch, the colour scale and the least and most presses.
void paintLegend(QPainter &painter, const QRect &area, const HeatmapScale &scale, bool chinese);

// The keyboard alone, its case, caps and legend, at `scale` device pixels per base pixel.
QImage render(const PressCounters &counters, int deviceType, bool chinese, double scale);

} // namespace HeatmapPainter
