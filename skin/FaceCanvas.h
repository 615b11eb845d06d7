#pragma once

#include "skin/FacePatches.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <functional>

class QPainter;

// The face a window paints from: its background with what the window draws over it, at base
// size. Usually a bitmap of its own beside the background, which stays whole for drawing it
// anew. A window whose drawing keeps to known places can compose over the background's own
// pixels instead, keeping aside only those places' background: its face then costs one bitmap,
// not two.
class FaceCanvas {
public:
    // A new background; the face is composed anew from it. `keepFace` reuses the last face's
    // memory when its size fits, for a background that replaces one of the same outline.
    void setBackground(QImage background, bool keepFace = false);
    // From the next composition on, the face is the background's own pixels, and only
    // `drawnArea()` of the background (base pixels, asked once) is kept aside; nothing is drawn
    // outside it. The background must not be shared by then, or it is copied after all.
    void setInPlace(std::function<QRegion()> drawnArea);

    QSize size() const { return m_size; }
    // Whether setInPlace() was asked for.
    bool composesInPlace() const { return bool(m_drawnArea); }
    // The face as last composed; null before the first composition.
    const QImage &face() const { return m_face; }

    // Begins `painter` on the face with its background drawn anew inside `area` (the whole face
    // when empty or at the first composition), to which the painter is clipped, in the
    // source-over mode. `mayStartInPlace` is false while the drawn area cannot be known yet.
    void begin(QPainter &painter, const QRect &area, bool mayStartInPlace = true);
    // The background inside `rect`, in the painter's composition mode.
    void drawBackground(QPainter &painter, const QRect &rect) const;

private:
    QSize m_size;
    QImage m_background;
    QImage m_face;
    std::function<QRegion()> m_drawnArea;
    bool m_inPlace = false; // m_face is the background's pixels, m_keptAside the rest of it
    QRegion m_drawn;
    FacePatches m_keptAside;
};
