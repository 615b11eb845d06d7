#include "skin/FaceCanvas.h"

#include "skin/FaceBuffer.h"

#include <QPainter>

#include <utility>

void FaceCanvas::setBackground(QImage background, bool keepFace)
{
    const bool reuse = keepFace && !m_inPlace && m_face.size() == background.size();
    if (!reuse)
        m_face = QImage();
    m_inPlace = false;
    m_drawn = QRegion();
    m_keptAside = FacePatches();
    m_size = background.size();
    m_background = std::move(background);
}

void FaceCanvas::setInPlace(std::function<QRegion()> drawnArea)
{
    m_drawnArea = std::move(drawnArea);
}

void FaceCanvas::begin(QPainter &painter, const QRect &area, bool mayStartInPlace)
{
    const QRect whole(QPoint(0, 0), m_size);
    QRect drawn = area.isEmpty() ? whole : area & whole;
    bool fresh = false;
    if (!m_inPlace && m_drawnArea && mayStartInPlace && !m_background.isNull()) {
        m_drawn = m_drawnArea() & whole;
        FacePatches keptAside = FacePatches::cut(m_background, m_drawn);
        if (!keptAside.isNull()) {
            m_keptAside = std::move(keptAside);
            m_face = std::exchange(m_background, QImage());
            m_inPlace = true;
            fresh = true;
            drawn = whole;
        }
    }
    if (m_face.size() != m_size) {
        m_face = FaceBuffer::create(m_size);
        drawn = whole;
    }
    painter.begin(&m_face);
    if (m_inPlace)
        painter.setClipRegion(m_drawn & drawn);
    else if (drawn != whole)
        painter.setClipRect(drawn);
    // Just taken over, the face still is the background.
    if (!fresh) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        drawBackground(painter, drawn);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void FaceCanvas::drawBackground(QPainter &painter, const QRect &rect) const
{
    const QRect area = rect & QRect(QPoint(0, 0), m_size);
    if (area.isEmpty())
        return;
    if (m_inPlace)
        m_keptAside.paint(painter, area);
    else if (!m_background.isNull())
        painter.drawImage(area.topLeft(), m_background, area);
}
