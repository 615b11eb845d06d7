#include "keymap/VirtualKeyCaptions.h"

#include "layout/ButtonTable.h"
#include "layout/VirtualKeyboardTable.h"
#include "layout/WindowsColour.h"
#include "skin/FacePainter.h"
#include "skin/FacePalette.h"
#include "skin/FontTable.h"
#include "skin/KeyCapPainter.h"
#include "skin/SkinnedDialog.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxRememberedFits = 1024;
// A word may reach into the cap's rim, where the narrow keys' longer words need the room.
constexpr qreal WordReach = 2.0;

bool fits(const QFont &font, const QRect &rect, int flags, const QString &text)
{
    const QRect need = QFontMetrics(font).boundingRect(rect, flags, text);
    return need.width() <= rect.width() && need.height() <= rect.height();
}

// A symbol's line box is far taller than the symbol: what must fit is its ink, standing on a
// baseline that centres the font's capitals in the place.
bool inkFits(const QFont &font, const QRect &rect, const QString &text)
{
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const qreal baseline = QRectF(rect).center().y() + metrics.capHeight() / 2;
    return ink.width() <= rect.width() && baseline + ink.top() >= rect.top() - 0.5
           && baseline + ink.bottom() <= rect.top() + rect.height() + 0.5;
}

QRect scaled(const QRectF &base, float scale)
{
    return QRectF(base.left() * scale, base.top() * scale, base.width() * scale,
                  base.height() * scale)
        .toAlignedRect();
}

} // namespace

VirtualKeyCaptions::Fit VirtualKeyCaptions::fit(const QFont &font, const QRect &rect, int flags,
                                                const QString &text, bool byInk)
{
    Fit result{font, text};
    if (text.isEmpty() || rect.width() <= 0)
        return result;
    for (int pixels = font.pixelSize(); pixels >= SmallestPixels; --pixels) {
        result.font.setPixelSize(pixels);
        if (byInk ? inkFits(result.font, rect, text) : fits(result.font, rect, flags, text))
            return result;
    }
    result.font.setPixelSize(SmallestPixels);
    const QFontMetrics metrics(result.font);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, rect.width());
    result.text = lines.join(QLatin1Char('\n'));
    return result;
}

std::vector<VirtualKeyCaptions::Line>
VirtualKeyCaptions::legendLines(const QRect &base, const QString &caption, float scale)
{
    std::vector<Line> lines;
    const std::vector<KeyCapPainter::LegendPart> parts = KeyCapPainter::legendParts(base, caption);
    const QRectF face = KeyCapPainter::faceRect(base);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const KeyCapPainter::LegendPart &part = parts[i];
        QRectF place = part.rect;
        if (part.condensed) {
            place.adjust(-WordReach, 0, WordReach, 0);
        } else if (parts.size() == 2) {
            // The two legends of a symbol key each in a half of their own, larger than their
            // line boxes would allow.
            const qreal half = face.height() / 2 - 1.5;
            place = i == 0 ? QRectF(face.left(), face.top() + 1, face.width(), half)
                           : QRectF(face.left(), face.center().y() + 0.5, face.width(), half);
        }
        const int pixels = std::max(1, int(std::lround(part.pixelSize * scale)));
        lines.push_back({scaled(place, scale), part.text,
                         FacePainter::font(pixels, part.weight, part.condensed), part.accent,
                         !part.condensed});
    }
    return lines;
}

void VirtualKeyCaptions::paint(QPainter &painter, const ButtonTable &table, float scale,
                               const std::string &language, const QPoint &pointer,
                               const FontTable &fonts, const QRect &dirty)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DrawnButton &entry = table[i];
        if (!entry.isUsed())
            continue;
        if (VirtualKeyboardTable::isKey(entry.id) && !entry.isLabel) {
            const QRect client(entry.rect.left, entry.rect.top, entry.rect.width(),
                               entry.rect.height());
            if (client.intersects(dirty))
                paintLegend(painter, entry, scale, client.contains(pointer));
        } else if (entry.isLabel && entry.showText) {
            // A label over a button keeps clear of the button's rim.
            const ButtonRect base = table.captionPlace(i);
            const QRect place
                = scaled(QRectF(base.left, base.top, base.width(), base.height()), scale);
            if (!place.intersects(dirty))
                continue;
            QFont font = fonts.font(0);
            font.setPixelSize(std::max(1, int(std::lround(entry.fontSize * scale))));
            const auto caption = entry.captions.find(language);
            painter.setPen(
                colourFromWindows(entry.checked ? entry.checkedTextColor : entry.textColor));
            m_labels.draw(painter, place, SkinnedDialog::textFlags(entry.textFormat),
                          caption == entry.captions.end() ? QString()
                                                          : QString::fromStdString(caption->second),
                          font);
        }
    }
    painter.restore();
}

void VirtualKeyCaptions::paintLegend(QPainter &painter, const DrawnButton &entry, float scale,
                                     bool hovered)
{
    const ButtonRect b = ButtonTable::toBase(entry.rect, scale);
    const auto caption = entry.captions.find("en-US"); // the same in both languages
    if (caption == entry.captions.end())
        return;
    // The look of the image the cap was copied from.
    const QColor colour = entry.checked ? KeyCapPainter::pickedLegendColour()
                          : hovered     ? KeyCapPainter::legendColour(FaceLook::Hover)
                                        : KeyCapPainter::legendColour(FaceLook::Checked);
    for (const Line &line : legendLines(QRect(b.left, b.top, b.width(), b.height()),
                                        QString::fromStdString(caption->second), scale)) {
        const Fit &fitted = cachedFit(line.font, line.rect, Qt::AlignCenter, line.text, line.byInk);
        painter.setFont(fitted.font);
        painter.setPen(line.accent && !entry.checked ? FacePalette::AccentLight : colour);
        if (line.byInk) {
            const QFontMetricsF metrics(fitted.font);
            const QPointF centre = QRectF(line.rect).center();
            painter.drawText(QPointF(centre.x() - metrics.horizontalAdvance(fitted.text) / 2,
                                     centre.y() + metrics.capHeight() / 2),
                             fitted.text);
        } else {
            painter.drawText(line.rect, Qt::AlignCenter, fitted.text);
        }
    }
}

const VirtualKeyCaptions::Fit &VirtualKeyCaptions::cachedFit(const QFont &font, const QRect &rect,
                                                             int flags, const QString &text,
                                                             bool byInk)
{
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(font.key())
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(flags)
                            .arg(int(byInk))
                            .arg(text);
    auto found = m_fits.constFind(key);
    if (found == m_fits.constEnd()) {
        if (m_fits.size() >= MaxRememberedFits)
            m_fits.clear();
        found = m_fits.insert(key, fit(font, rect, flags, text, byInk));
    }
    return *found;
}
