#include "skin/FacePainter.h"

#include "skin/CaptionFit.h"
#include "skin/ChineseFont.h"
#include "skin/FacePalette.h"
#include "skin/SkinFaceFormat.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QStringList>

namespace FacePainter {

QImage blankFace(int width, int height, const QColor &colourKey)
{
    QImage face(width, height, QImage::Format_RGB32);
    face.fill(colourKey);
    return face;
}

QImage keyedOut(const QImage &face, const QColor &colourKey)
{
    QImage result = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < result.height(); ++y)
        SkinFaceFormat::keyOut(reinterpret_cast<std::uint32_t *>(result.scanLine(y)),
                               std::size_t(result.width()), colourKey.rgb());
    return result;
}

QFont font(int pixelSize, QFont::Weight weight, bool condensed)
{
    // Looked up once: live painting asks for these fonts key by key.
    static const QStringList plain
        = ChineseFont::withChinese(QFont(QStringLiteral("DejaVu Sans"))).families();
    static const QStringList narrow
        = ChineseFont::withChinese(QFont(QStringLiteral("DejaVu Sans Condensed"))).families();
    QFont f;
    f.setFamilies(condensed ? narrow : plain);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void body(QPainter &painter, const QRect &rect, int radius)
{
    painter.save();
    // The silhouette is drawn without smoothing, so that no pixel mixes with the key colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FacePalette::Edge);
    painter.drawRoundedRect(rect, radius, radius);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF inner = QRectF(rect).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient fill(inner.topLeft(), inner.bottomLeft());
    fill.setColorAt(0, FacePalette::BodyTop);
    fill.setColorAt(1, FacePalette::BodyBottom);
    painter.setBrush(fill);
    painter.setPen(QPen(FacePalette::BodyRim, 1));
    painter.drawRoundedRect(inner, radius - 1.5, radius - 1.5);
    painter.restore();
}

void well(QPainter &painter, const QRectF &rect, qreal radius, const QColor &fill)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(FacePalette::WellRim, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A shade along the top edge makes it sit below the body.
    QLinearGradient shade(rect.topLeft(), rect.topLeft() + QPointF(0, 6));
    shade.setColorAt(0, QColor(0, 0, 0, 90));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
    painter.restore();
}

void pushButton(QPainter &painter, const QRectF &rect, FaceLook look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // 2 pixels of the rectangle stay plain: copies of it may be a pixel or two short.
    const QRectF r = rect.adjusted(2.5, 2.5, -2.5, -2.5);
    const qreal radius = 7;
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    QPen rim(FacePalette::ButtonRim, 1);
    switch (look) {
    case FaceLook::Normal:
        fill.setColorAt(0, FacePalette::ButtonTop);
        fill.setColorAt(1, FacePalette::ButtonBottom);
        break;
    case FaceLook::Hover:
        fill.setColorAt(0, FacePalette::HoverTop);
        fill.setColorAt(1, FacePalette::HoverBottom);
        rim.setColor(FacePalette::AccentLight);
        break;
    case FaceLook::Checked:
        fill.setColorAt(0, FacePalette::PressedTop);
        fill.setColorAt(1, FacePalette::PressedBottom);
        rim.setColor(FacePalette::AccentDark);
        break;
    }
    painter.setPen(rim);
    painter.setBrush(fill);
    painter.drawRoundedRect(r, radius, radius);
    if (look != FaceLook::Checked) {
        // A light line under the top edge gives the raised look.
        painter.setPen(QPen(QColor(255, 255, 255, look == FaceLook::Hover ? 40 : 22), 1));
        painter.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
                         QPointF(r.right() - radius, r.top() + 1.5));
    } else {
        // Pressed: the accent runs along the bottom edge.
        painter.setPen(Qt::NoPen);
        painter.setBrush(FacePalette::Accent);
        painter.drawRoundedRect(QRectF(r.left() + 10, r.bottom() - 4, r.width() - 20, 2.5), 1.2,
                                1.2);
    }
    painter.restore();
}

void fittedText(QPainter &painter, const QRectF &rect, const QString &text, int pixelSize,
                QFont::Weight weight, const QColor &colour, int flags, bool condensed)
{
    QFont f = font(pixelSize, weight, condensed);
    const auto fits = [&] {
        const QRectF need = QFontMetricsF(f).boundingRect(rect, flags, text);
        return need.width() <= rect.width() && need.height() <= rect.height();
    };
    while (f.pixelSize() > 7 && !fits())
        f.setPixelSize(f.pixelSize() - 1);
    // Too wide even then: cut short as the windows cut their captions, never drawn beyond.
    const QString shown
        = fits() ? text : CaptionFit::elided(QFontMetrics(f), int(rect.width()), text);
    painter.save();
    painter.setFont(f);
    painter.setPen(colour);
    painter.drawText(rect, flags, shown);
    painter.restore();
}

} // namespace FacePainter
