#include "lighting/KeyFramePainter.h"

#include "lighting/ColourChooser.h"
#include "lighting/KeyFrame.h"

#include <QPainter>

namespace KeyFramePainter {

void paint(QPainter &painter, const DrawnButton &entry, const LightSettings &colours, float scale)
{
    if (entry.keyIndex <= 0 || entry.keyIndex >= int(colours.size()))
        return;
    const QColor colour = ColourChooser::toQColor(colours[std::size_t(entry.keyIndex)]);
    for (const ButtonRect &bar : KeyFrame::bars(entry.rect, scale))
        painter.fillRect(QRect(bar.left, bar.top, bar.width(), bar.height()), colour);
}

} // namespace KeyFramePainter
