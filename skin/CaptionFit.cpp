#include "skin/CaptionFit.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int SmallestPixels = 7;
constexpr int MaxRememberedFits = 2048;

bool fits(const QFont &font, const QRect &rect, int flags, const QString &text, bool lines)
{
    const QRect need = QFontMetrics(font).boundingRect(rect, flags, text);
    return need.width() <= rect.width() && (!lines || need.height() <= rect.height());
}

} // namespace

CaptionFit::Fit CaptionFit::fit(const QFont &font, const QRect &rect, int flags,
                                const QString &text, bool shrink)
{
    Fit result{font, text};
    if (text.isEmpty() || rect.width() <= 0)
        return result;
    const bool lines = text.contains(QLatin1Char('\n')) || (flags & Qt::TextWordWrap);
    if (fits(font, rect, flags, text, lines))
        return result;
    const int size = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    const int smallest = shrink ? std::max(SmallestPixels, (size * 2 + 2) / 3) : size;
    const auto level = [&] {
        if (!lines && !(flags & (Qt::AlignVCenter | Qt::AlignBottom)))
            result.drop = (QFontMetrics(font).height() - QFontMetrics(result.font).height()) / 2;
        return result;
    };
    for (int pixels = size - 1; pixels >= smallest; --pixels) {
        result.font.setPixelSize(pixels);
        if (fits(result.font, rect, flags, text, lines))
            return level();
    }
    // Still too wide: every line is cut to the width.
    result.text = elided(QFontMetrics(result.font), rect.width(), text);
    return level();
}

QString CaptionFit::elided(const QFontMetrics &metrics, int width, const QString &text)
{
    QStringList cut = text.split(QLatin1Char('\n'));
    for (QString &line : cut)
        line = metrics.elidedText(line, Qt::ElideRight, width);
    return cut.join(QLatin1Char('\n'));
}

void CaptionFit::draw(QPainter &painter, const QRect &rect, int flags, const QString &text,
                      const QFont &font, bool shrink)
{
    if (text.isEmpty())
        return;
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(font.key())
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(flags)
                            .arg(int(shrink))
                            .arg(text);
    auto found = m_fits.constFind(key);
    if (found == m_fits.constEnd()) {
        if (m_fits.size() >= MaxRememberedFits)
            m_fits.clear();
        found = m_fits.insert(key, fit(font, rect, flags, text, shrink));
    }
    painter.setFont(found->font);
    painter.drawText(rect.translated(0, found->drop), flags, found->text);
}
