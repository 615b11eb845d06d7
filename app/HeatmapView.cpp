#include "app/HeatmapView.h"

#include "app/HeatmapPainter.h"
#include "layout/ButtonTable.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "skin/FacePalette.h"

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

bool HeatmapView::paintKey(QPainter &painter, const DrawnButton &entry, const QRect &base)
{
    if (!m_on || entry.keyIndex < 1 || entry.keyIndex > AppState::KeyCount || entry.isLabel)
        return false;
    const int count = m_state.pressCounters.counts[std::size_t(entry.keyIndex)];
    const QTransform transform = painter.worldTransform();
    // Turned: no pixel grid to keep the cap on.
    if (transform.type() > QTransform::TxScale) {
        HeatmapPainter::paintKey(painter, base, entry.keyIndex, count, m_scale);
        return true;
    }
    const HeatmapScale::Look look = m_scale.lookOf(count);
    const std::uint64_t signature
        = (std::uint64_t(look) << 32)
          | (look == HeatmapScale::Look::Counted ? m_scale.colour(count) : 0u);
    const QRect target = transform.mapRect(QRectF(base)).toAlignedRect();
    Cap &cap = m_caps[std::size_t(entry.keyIndex)];
    if (cap.look != signature || cap.base != base || cap.transform != transform) {
        cap.image = QImage(target.size(), QImage::Format_ARGB32_Premultiplied);
        cap.image.fill(Qt::transparent);
        QPainter layer(&cap.image);
        layer.setRenderHints(painter.renderHints());
        layer.setTransform(transform * QTransform::fromTranslate(-target.left(), -target.top()));
        HeatmapPainter::paintKey(layer, base, entry.keyIndex, count, m_scale);
        cap.look = signature;
        cap.base = base;
        cap.transform = transform;
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(target.topLeft(), cap.image);
    painter.restore();
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
