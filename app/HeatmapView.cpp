#include "app/HeatmapView.h"

#include "app/AppState.h"
#include "app/HeatmapPainter.h"
#include "app/MainWindowTable.h"
#include "skin/ButtonTable.h"
#include "skins/FacePalette.h"

#include <QPainter>

HeatmapView::HeatmapView(const AppState &state)
    : m_state(state)
{}

bool HeatmapView::hasCounts() const
{
    return HeatmapScale::of(m_state.pressCounters).isRead();
}

bool HeatmapView::setOn(bool on)
{
    m_on = on && hasCounts();
    return m_on == on;
}

void HeatmapView::toggle(const std::function<void()> &readCounters)
{
    if (m_on) {
        m_on = false;
        return;
    }
    if (!hasCounts() && readCounters)
        readCounters();
    setOn(true);
}

void HeatmapView::beforeEntries(ButtonTable &table)
{
    m_scale = HeatmapScale::of(m_state.pressCounters);
    if (!m_scale.isRead())
        m_on = false;
    for (DrawnButton &entry : table) {
        if (entry.id == HeatmapButton || entry.id == HeatmapLabel)
            entry.checked = m_on;
    }
}

bool HeatmapView::paintKey(QPainter &painter, const DrawnButton &entry, const QRect &base) const
{
    if (!m_on || entry.keyIndex < 1 || entry.keyIndex > AppState::KeyCount || entry.isLabel)
        return false;
    HeatmapPainter::paintKey(painter, base, entry.keyIndex,
                             m_state.pressCounters.counts[std::size_t(entry.keyIndex)], m_scale);
    return true;
}

void HeatmapView::paintHover(QPainter &painter, const DrawnButton &entry, const QRect &base) const
{
    if (m_on && entry.keyIndex >= 1 && !entry.isLabel)
        HeatmapPainter::paintHover(painter, base);
}

void HeatmapView::paintLegend(QPainter &painter) const
{
    if (!m_on)
        return;
    const ButtonRect &area = MainWindowTable::HeatmapLegendArea;
    const QRect rect(area.left, area.top, area.width(), area.height());
    // Over the card's own strip.
    painter.fillRect(rect.adjusted(0, 0, 1, 1), FacePalette::Card);
    HeatmapPainter::paintLegend(painter, rect, m_scale, m_state.chinese());
}
