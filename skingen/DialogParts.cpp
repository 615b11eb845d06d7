#include "DialogParts.h"

#include "skin/FacePalette.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace DialogParts {

namespace {

class Smooth {
public:
    explicit Smooth(QPainter &painter)
        : m_painter(painter)
    {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing, true);
    }
    ~Smooth() { m_painter.restore(); }

private:
    QPainter &m_painter;
};

void logo(QPainter &painter, const QRectF &tile)
{
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, FacePalette::AccentLight);
    fill.setColorAt(1, FacePalette::AccentDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(tile, 5, 5);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRoundedRect(tile.adjusted(4.5, 3.5, -4.5, -6), 2, 2);
}

} // namespace

void header(QPainter &painter, int width, int height)
{
    Smooth smooth(painter);
    QPainterPath band;
    band.addRoundedRect(QRectF(4.5, 4.5, width - 9, height), 11, 11);
    QPainterPath cut;
    cut.addRect(QRectF(0, height * 0.6, width, height));
    band = band.subtracted(cut);
    band.addRect(QRectF(4.5, 20, width - 9, height - 15.5));
    QLinearGradient fill(0, 4, 0, height + 4);
    fill.setColorAt(0, FacePalette::HeaderTop);
    fill.setColorAt(1, FacePalette::HeaderBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(band);
    painter.setPen(QPen(FacePalette::Divider, 1));
    painter.drawLine(QPointF(5, height + 4.5), QPointF(width - 5, height + 4.5));
    painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
    painter.drawLine(QPointF(5, height + 5.5), QPointF(width - 5, height + 5.5));
    logo(painter, QRectF(14, 11, 20, 20));
}

void panel(QPainter &painter, const QRectF &rect)
{
    FacePainter::well(painter, rect, 8, QColor("#15171b"));
}

void pageTab(QPainter &painter, const QRectF &rect, FaceLook look, bool active)
{
    Smooth smooth(painter);
    const QRectF r = rect.adjusted(2.5, 2.5, -2.5, 0);
    QPainterPath shape;
    shape.addRoundedRect(r, 6, 6);
    QPainterPath square;
    square.addRect(r.adjusted(0, r.height() / 2, 0, 0));
    shape = shape.united(square);
    const bool hover = look == FaceLook::Hover;
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    if (active) {
        fill.setColorAt(0, hover ? QColor("#3a3f48") : QColor("#30353d"));
        fill.setColorAt(1, QColor("#1d2025"));
    } else if (hover) {
        fill.setColorAt(0, QColor("#2c3037"));
        fill.setColorAt(1, QColor("#1f2227"));
    } else {
        fill.setColorAt(0, QColor("#1b1e22"));
        fill.setColorAt(1, QColor("#17191c"));
    }
    painter.setPen(QPen(active ? FacePalette::ButtonRim : QColor("#24282e"), 1));
    painter.setBrush(fill);
    painter.drawPath(shape);
    if (active || hover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(active ? FacePalette::Accent : QColor("#5a3a22"));
        painter.drawRoundedRect(QRectF(r.left() + 8, r.bottom() - 3, r.width() - 16, 3), 1.5, 1.5);
    }
}

void tabBaseline(QPainter &painter, qreal y, qreal left, qreal right)
{
    painter.save();
    painter.setPen(QPen(FacePalette::Divider, 1));
    painter.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
    painter.restore();
}

void radio(QPainter &painter, const QPointF &centre, FaceLook look)
{
    Smooth smooth(painter);
    const qreal outer = 6.5;
    painter.setPen(
        QPen(look == FaceLook::Normal ? QColor("#4b515c") : FacePalette::AccentLight, 1.4));
    painter.setBrush(QColor("#0f1113"));
    painter.drawEllipse(centre, outer, outer);
    if (look == FaceLook::Checked) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(FacePalette::Accent);
        painter.drawEllipse(centre, 3.4, 3.4);
    }
}

void check(QPainter &painter, const QRectF &box, FaceLook look)
{
    Smooth smooth(painter);
    const QRectF r = QRectF(box.center() - QPointF(6.5, 6.5), QSizeF(13, 13));
    const bool on = look == FaceLook::Checked;
    painter.setPen(
        QPen(look == FaceLook::Normal ? QColor("#4b515c") : FacePalette::AccentLight, 1.4));
    painter.setBrush(on ? FacePalette::Accent : QColor("#0f1113"));
    painter.drawRoundedRect(r, 3, 3);
    if (on) {
        QPen tick(QColor("#1a0e04"), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(tick);
        painter.drawPolyline(
            QPolygonF({r.center() + QPointF(-3.5, 0.2), r.center() + QPointF(-1, 2.8),
                       r.center() + QPointF(3.6, -2.6)}));
    }
}

void listRow(QPainter &painter, const QRectF &rect, FaceLook look)
{
    if (look == FaceLook::Normal)
        return;
    Smooth smooth(painter);
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    if (look == FaceLook::Hover) {
        painter.setBrush(QColor("#2a2e35"));
        painter.drawRoundedRect(r, 3, 3);
        return;
    }
    QLinearGradient fill(r.topLeft(), r.topRight());
    fill.setColorAt(0, FacePalette::AccentDark);
    fill.setColorAt(1, QColor("#7a3a0a"));
    painter.setBrush(fill);
    painter.drawRoundedRect(r, 3, 3);
    painter.setBrush(FacePalette::AccentLight);
    painter.drawRoundedRect(QRectF(r.left(), r.top() + 1.5, 2.5, r.height() - 3), 1, 1);
}

void listFrame(QPainter &painter, const QRectF &rect)
{
    FacePainter::well(painter, rect, 5, QColor("#0f1113"));
}

void fieldFrame(QPainter &painter, const QRectF &rect)
{
    Smooth smooth(painter);
    painter.setPen(QPen(QColor("#343a43"), 1));
    painter.setBrush(FacePalette::FieldDark);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

void primaryButton(QPainter &painter, const QRectF &rect, FaceLook look)
{
    Smooth smooth(painter);
    const QRectF r = rect.adjusted(2.5, 2.5, -2.5, -2.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    switch (look) {
    case FaceLook::Normal:
        fill.setColorAt(0, QColor("#e06a0c"));
        fill.setColorAt(1, QColor("#b8530a"));
        break;
    case FaceLook::Hover:
        fill.setColorAt(0, QColor("#ff8a2a"));
        fill.setColorAt(1, QColor("#dd650c"));
        break;
    case FaceLook::Checked:
        fill.setColorAt(0, QColor("#8e4008"));
        fill.setColorAt(1, QColor("#a84c0a"));
        break;
    }
    painter.setPen(QPen(look == FaceLook::Hover ? QColor("#ffb36b") : QColor("#f08a3a"), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(r, 7, 7);
    painter.setPen(QPen(QColor(255, 255, 255, 50), 1));
    painter.drawLine(QPointF(r.left() + 7, r.top() + 1.5), QPointF(r.right() - 7, r.top() + 1.5));
}

void closeMark(QPainter &painter, const QRectF &rect, FaceLook look)
{
    Smooth smooth(painter);
    const QPointF c = rect.center();
    const bool hover = look == FaceLook::Hover;
    if (hover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(FacePalette::Danger);
        painter.drawEllipse(c, 9.5, 9.5);
    }
    painter.setPen(
        QPen(hover ? QColor(Qt::white) : FacePalette::TextDim, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    painter.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
}

void plate(QPainter &painter, const QRectF &rect)
{
    Smooth smooth(painter);
    painter.setPen(QPen(QColor("#2c3038"), 1));
    painter.setBrush(QColor("#1c1f24"));
    painter.drawRoundedRect(rect.adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
}

void iconCap(QPainter &painter, const QRectF &rect, FaceLook look)
{
    Smooth smooth(painter);
    const QRectF r = rect.adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    QColor rim;
    switch (look) {
    case FaceLook::Normal:
        fill.setColorAt(0, QColor("#2c3038"));
        fill.setColorAt(1, QColor("#22252b"));
        rim = QColor("#383e47");
        break;
    case FaceLook::Hover:
        fill.setColorAt(0, QColor("#3d434d"));
        fill.setColorAt(1, QColor("#30353d"));
        rim = FacePalette::AccentLight;
        break;
    case FaceLook::Checked:
        fill.setColorAt(0, QColor("#3a2615"));
        fill.setColorAt(1, QColor("#26190f"));
        rim = FacePalette::Accent;
        break;
    }
    painter.setPen(QPen(rim, look == FaceLook::Checked ? 1.6 : 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(r, 6, 6);
    if (look != FaceLook::Checked) {
        painter.setPen(QPen(QColor(255, 255, 255, 24), 1));
        painter.drawLine(QPointF(r.left() + 6, r.top() + 1.5),
                         QPointF(r.right() - 6, r.top() + 1.5));
    }
}

QColor iconInk(FaceLook look)
{
    switch (look) {
    case FaceLook::Normal:
        return QColor("#c3c8d0");
    case FaceLook::Hover:
        return QColor(Qt::white);
    case FaceLook::Checked:
        break;
    }
    return FacePalette::AccentLight;
}

void emptySocket(QPainter &painter, const QRectF &rect)
{
    Smooth smooth(painter);
    QPen pen(QColor("#262a30"), 1, Qt::DashLine);
    pen.setDashPattern({3, 3});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(2.5, 2.5, -2.5, -2.5), 6, 6);
}

} // namespace DialogParts
