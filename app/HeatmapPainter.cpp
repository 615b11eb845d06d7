#include "app/HeatmapPainter.h"

#include "layout/MainWindowTable.h"
#include "model/Configuration.h"
#include "model/KeyboardModel.h"
#include "model/PressCounters.h"
#include "skin/FacePainter.h"
#include "skin/FacePalette.h"
#include "skin/KeyCapPainter.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

QColor rgb(std::uint32_t colour)
{
    return QColor(int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF), int(colour & 0xFF));
}

QRect rectOf(const ButtonRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

// Keys without a count: the plain cap, struck through with fine lines.
void paintNotRead(QPainter &painter, const QRect &tableRect, const QString &caption)
{
    KeyCapPainter::paint(painter, tableRect, caption, FaceLook::Normal);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF face = KeyCapPainter::faceRect(tableRect);
    painter.setClipRect(face);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (qreal x = face.left() - face.height(); x < face.right(); x += 6)
        painter.drawLine(QPointF(x, face.bottom()), QPointF(x + face.height(), face.top()));
    painter.restore();
}

QString number(int count)
{
    return QString::number(count);
}

} // namespace

namespace HeatmapPainter {

void paintKey(QPainter &painter, const QRect &tableRect, int key, int count,
              const HeatmapScale &scale)
{
    const QString caption = QString::fromUtf8(MainWindowTable::keyCaption(key));
    switch (scale.lookOf(count)) {
    case HeatmapScale::Look::NotRead:
        paintNotRead(painter, tableRect, caption);
        break;
    case HeatmapScale::Look::Never:
        // Dark and flat as an unassigned key: nothing of the scale, however low.
        KeyCapPainter::paint(painter, tableRect, caption, FaceLook::Normal);
        break;
    case HeatmapScale::Look::Counted:
        KeyCapPainter::paintTinted(painter, tableRect, caption, rgb(scale.colour(count)));
        break;
    }
}

void paintHover(QPainter &painter, const QRect &tableRect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(FacePalette::Accent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(tableRect).adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
    painter.restore();
}

void paintLegend(QPainter &painter, const QRect &area, const HeatmapScale &scale, bool chinese)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal barTop = area.top() + 2;
    const qreal barHeight = 9;
    // The look of a key never pressed, then the scale from the least to the most pressed.
    const QRectF never(area.left() + 0.5, barTop, 18, barHeight);
    painter.setPen(QPen(QColor("#2c3038"), 1));
    painter.setBrush(QColor("#1c1e23"));
    painter.drawRoundedRect(never, 2.5, 2.5);
    const QRectF bar(area.left() + 26.5, barTop, area.width() - 27, barHeight);
    QLinearGradient ramp(bar.topLeft(), bar.topRight());
    for (int i = 0; i <= 15; ++i)
        ramp.setColorAt(i / 15.0, rgb(HeatmapScale::viridis(i / 15.0)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ramp);
    if (scale.highest() == 0)
        painter.setOpacity(0.35); // nothing was pressed: no key takes these colours
    painter.drawRoundedRect(bar, 2.5, 2.5);
    painter.setOpacity(1);

    const QRectF text(area.left(), barTop + barHeight + 2, area.width(),
                      area.bottom() + 1 - (barTop + barHeight + 2));
    const auto write = [&](const QRectF &where, const QString &what, int flags, const QColor &ink) {
        FacePainter::fittedText(painter, where, what, 11, QFont::Normal, ink,
                                flags | Qt::AlignVCenter);
    };
    write(QRectF(never.left() - 4, text.top(), never.width() + 8, text.height()),
          QStringLiteral("0"), Qt::AlignHCenter, FacePalette::TextDim);
    const QRectF counts(bar.left(), text.top(), bar.width(), text.height());
    if (scale.highest() > 0) {
        write(counts, number(scale.lowest()), Qt::AlignLeft, FacePalette::TextDim);
        write(counts, number(scale.highest()), Qt::AlignRight, FacePalette::TextDim);
    }
    const QString label = scale.highest() > 0
                              ? QString::fromUtf8(chinese ? "按键次数" : "presses")
                              : QString::fromUtf8(chinese ? "尚无按键" : "no key pressed");
    write(counts.adjusted(36, 0, -36, 0), label, Qt::AlignHCenter, FacePalette::TextFaint);
    painter.restore();
}

QImage render(const PressCounters &counters, int deviceType, bool chinese, double scale)
{
    const QRect keyboard = rectOf(KeyboardArea);
    constexpr int Margin = 14;
    const QSize base(keyboard.width() + 2 * Margin,
                     keyboard.height() + 3 * Margin + LegendHeight + Margin / 2);
    QImage image(QSize(int(base.width() * scale + 0.5), int(base.height() * scale + 0.5)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(FacePalette::BodyBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(scale, scale);

    painter.translate(Margin - keyboard.left(), Margin - keyboard.top());
    FacePainter::well(painter, QRectF(keyboard), 14, FacePalette::Well);
    const HeatmapScale heat = HeatmapScale::of(counters);
    for (const DrawnButton &entry : MainWindowTable::build(deviceType)) {
        if (entry.keyIndex >= 1 && entry.keyIndex <= Configuration::KeyCount)
            paintKey(painter, rectOf(entry.rect), entry.keyIndex,
                     counters.counts[std::size_t(entry.keyIndex)], heat);
    }

    const int row = keyboard.bottom() + 1 + Margin;
    const QRect legend(keyboard.right() + 1 - LegendWidth - 6, row, LegendWidth, LegendHeight);
    paintLegend(painter, legend, heat, chinese);
    const QString title = QString::fromUtf8(KeyboardModel::name(deviceType))
                          + QString::fromUtf8(chinese ? "  按键热力图" : "  press counts");
    FacePainter::fittedText(painter, QRectF(keyboard.left() + 6, row, 500, LegendHeight), title, 15,
                            QFont::DemiBold, FacePalette::Text, Qt::AlignLeft | Qt::AlignVCenter);
    return image;
}

} // namespace HeatmapPainter
