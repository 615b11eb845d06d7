#pragma once

#include "app/HeatmapScale.h"

#include <quillodev/KeyCounts.h>

#include <QImage>
#include <QRect>
#include <QTransform>

#include <array>
#include <cstdint>
#include <functional>

class AppState;
class ButtonTable;
class QPainter;
struct DrawnButton;

// The main window's heatmap toggle: while it is on and the counters have been read, every key
// cap shows the colour of its press count instead of its assignment, and the model card shows
// the scale. Opening a profile forgets the counters, and the heatmap goes off with them.
class HeatmapView {
public:
    explicit HeatmapView(const AppState &state);

    bool isOn() const { return m_on; }
    // False, staying off, while there are no counters to show.
    bool setOn(bool on);
    // Whether the counters have been read.
    bool hasCounts() const;
    // The toggle's click: on, reading the counters first (`readCounters`) when there are none
    // yet, or off.
    void toggle(const std::function<void()> &readCounters);

    // Before the window's entries are painted: the scale of this paint, the toggle's look.
    void beforeEntries(ButtonTable &table);
    // Paints a key entry's cap in its colour; false when the heatmap is off or it is no key.
    bool paintKey(QPainter &painter, const DrawnButton &entry, const QRect &base);
    void paintHover(QPainter &painter, const DrawnButton &entry, const QRect &base) const;
    void paintLegend(QPainter &painter) const;

private:
    // A cap as last painted, in device pixels: repaints copy it while its look and place stay.
    struct Cap {
        QImage image;
        std::uint64_t look = ~std::uint64_t(0);
        QRect base;
        QTransform transform;
    };

    const AppState &m_state;
    std::array<Cap, quillodev::KeyArraySize> m_caps;
    HeatmapScale m_scale;
    bool m_on = false;
};
