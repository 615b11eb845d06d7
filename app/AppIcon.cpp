#include "app/AppIcon.h"

#include "layout/WindowsColour.h"

#include <QFont>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void paintKeyCap(QPainter &painter, const QRectF &area)
{
    const qreal size = qMin(area.width(), area.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(area.center() - QPointF(size / 2, size / 2));

    const qreal margin = size / 16.0;
    const QRectF outer(margin, margin, size - 2 * margin, size - 2 * margin);
    const qreal radius = size / 5.0;
    QLinearGradient body(outer.topLeft(), outer.bottomLeft());
    body.setColorAt(0, QColor(70, 72, 78));
    body.setColorAt(1, QColor(24, 25, 28));
    painter.setPen(QPen(QColor(10, 10, 12), qMax(1.0, size / 32.0)));
    painter.setBrush(body);
    painter.drawRoundedRect(outer, radius, radius);

    // The cap's top face, lighter and set back from the edge.
    const QRectF top = outer.adjusted(size / 8.0, size / 10.0, -size / 8.0, -size / 5.0);
    QLinearGradient face(top.topLeft(), top.bottomLeft());
    face.setColorAt(0, QColor(58, 60, 66));
    face.setColorAt(1, QColor(38, 39, 44));
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(top, radius / 1.5, radius / 1.5);

    // The letter as an outline, so that it looks the same in every icon file and at every size.
    QFont font;
    font.setBold(true);
    font.setPixelSize(qMax(6, int(top.height() * 0.8)));
    QPainterPath letter;
    letter.addText(0, 0, font, QStringLiteral("Q"));
    letter.translate(top.center() - letter.boundingRect().center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(colourFromWindows(0x006FFF));
    painter.drawPath(letter);
    painter.restore();
}

// Draws the cap at whatever size is asked for, only when it is asked for.
class KeyCapEngine : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        paintKeyCap(*painter, rect);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new KeyCapEngine; }
    QString key() const override { return QStringLiteral("QuilloKeyCap"); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }
};

} // namespace

void AppIcon::paint(QPainter &painter, const QRectF &area)
{
    paintKeyCap(painter, area);
}

QIcon AppIcon::icon()
{
    return QIcon(new KeyCapEngine);
}
