#include "SmallDialogChrome.h"

#include "layout/WindowsColour.h"
#include "skin/FacePalette.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace SmallDialogChrome {

namespace {

using namespace FacePainter;

constexpr qreal HeaderBottom = 40.5;

void header(QPainter &painter, QSize size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal width = size.width() - 11;
    QPainterPath band;
    band.addRoundedRect(QRectF(5.5, 5.5, width, HeaderBottom + 20), 12, 12);
    QPainterPath below;
    below.addRect(QRectF(0, HeaderBottom, size.width(), 40));
    band = band.subtracted(below);
    QLinearGradient fill(0, 5, 0, HeaderBottom);
    fill.setColorAt(0, FacePalette::HeaderTop);
    fill.setColorAt(1, FacePalette::HeaderBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(band);
    painter.setPen(QPen(FacePalette::Divider, 1));
    painter.drawLine(QPointF(6, HeaderBottom), QPointF(size.width() - 6, HeaderBottom));
    painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
    painter.drawLine(QPointF(6, HeaderBottom + 1), QPointF(size.width() - 6, HeaderBottom + 1));

    // The brand: the accent tile and the word, smaller than the main window's.
    const QRectF tile(17, 12, 20, 20);
    QLinearGradient tileFill(tile.topLeft(), tile.bottomRight());
    tileFill.setColorAt(0, FacePalette::AccentLight);
    tileFill.setColorAt(1, FacePalette::AccentDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tileFill);
    painter.drawRoundedRect(tile, 5, 5);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRoundedRect(tile.adjusted(4, 4, -4, -6), 2, 2);
    QFont word = font(11, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.setFont(word);
    painter.setPen(FacePalette::TextDim);
    painter.drawText(QRectF(43, 12, 60, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("QUILLO"));
    painter.restore();
}

} // namespace

QRect rectOf(const ButtonRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

QImage face(QSize size, const QColor &colourKey)
{
    QImage image = blankFace(size.width(), size.height(), colourKey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    body(painter, QRect(4, 4, size.width() - 8, size.height() - 8), 14);
    header(painter, size);
    // A quiet line above the buttons.
    painter.setPen(QPen(FacePalette::Divider, 1));
    painter.drawLine(QPointF(22, size.height() - 60.5),
                     QPointF(size.width() - 22, size.height() - 60.5));
    return image;
}

void closeMark(QPainter &painter, const ButtonRect &rect, FaceLook look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Level with the title, whose label starts at the rectangle's top.
    const QPointF c(rect.left + rect.width() / 2.0, rect.top + 12.0);
    if (look != FaceLook::Normal) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == FaceLook::Hover ? FacePalette::Danger : QColor("#8f2e29"));
        painter.drawEllipse(c, 9.5, 9.5);
    }
    const QColor ink = look == FaceLook::Normal ? FacePalette::TextDim : QColor(Qt::white);
    painter.setPen(QPen(ink, 1.7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    painter.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
    painter.restore();
}

void bar(QPainter &painter, const ButtonRect &rect, FaceLook look)
{
    const QRectF track = QRectF(rectOf(rect));
    well(painter, track, 6, FacePalette::Well);
    if (look != FaceLook::Checked)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF fill = track.adjusted(2, 2, -2, -2);
    QLinearGradient accent(fill.topLeft(), fill.bottomLeft());
    accent.setColorAt(0, FacePalette::AccentLight);
    accent.setColorAt(0.55, FacePalette::Accent);
    accent.setColorAt(1, FacePalette::AccentDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawRoundedRect(fill, 4.5, 4.5);
    // A sheen along the top and fine stripes that read as motion.
    painter.setBrush(QColor(255, 255, 255, 55));
    painter.drawRoundedRect(QRectF(fill.left() + 3, fill.top() + 1.5, fill.width() - 6, 3), 1.5,
                            1.5);
    painter.setClipRect(fill);
    painter.setBrush(QColor(255, 255, 255, 22));
    for (qreal x = fill.left() - fill.height(); x < fill.right(); x += 14) {
        QPainterPath stripe;
        stripe.moveTo(x, fill.bottom());
        stripe.lineTo(x + 6, fill.bottom());
        stripe.lineTo(x + 6 + fill.height(), fill.top());
        stripe.lineTo(x + fill.height(), fill.top());
        stripe.closeSubpath();
        painter.drawPath(stripe);
    }
    painter.restore();
}

void button(QPainter &painter, const ButtonRect &rect, FaceLook look)
{
    pushButton(painter, QRectF(rectOf(rect)), look);
}

void fieldWell(QPainter &painter, const ButtonRect &field, int padLeft)
{
    const QRectF r(field.left - padLeft, field.top - 5, field.width() + padLeft + 5,
                   field.height() + 10);
    well(painter, r, 6, FacePalette::FieldDark);
}

void paintJobFaces(SkinFaces &faces, const JobWindow &window,
                   const std::function<void(QPainter &)> &parts)
{
    const QColor key = colourFromWindows(window.colourKey);
    const auto paint = [&](FaceLook look) {
        QImage image = face(window.size, key);
        QPainter painter(&image);
        parts(painter);
        bar(painter, window.bar, look);
        for (const DrawnButton &entry : window.entries) {
            if (!entry.isHittable())
                continue;
            if (entry.id == window.closeId)
                closeMark(painter, entry.rect, look);
            else
                button(painter, entry.rect, look);
        }
        painter.end();
        return FacePainter::keyedOut(image, key);
    };
    const SkinSet set = SkinIds::skinSet(window.dialog, 1);
    faces[set.background] = paint(FaceLook::Normal);
    faces[set.hover] = paint(FaceLook::Hover);
    faces[set.checked] = paint(FaceLook::Checked);
}

} // namespace SmallDialogChrome
