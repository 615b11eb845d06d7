#include "IconInk.h"

#include "skin/FacePainter.h"

#include <QPainterPath>

#include <cmath>

using P = QPointF;

IconInk::IconInk(QPainter &painter, const QRectF &box, const QColor &ink)
    : m_painter(painter)
    , m_ink(ink)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal side = std::min(box.width(), box.height());
    m_painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    m_painter.scale(side / 24.0, side / 24.0);
    line();
}

IconInk::~IconInk()
{
    m_painter.restore();
}

void IconInk::line(qreal width)
{
    m_painter.setPen(QPen(m_ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_painter.setBrush(Qt::NoBrush);
}

void IconInk::fill()
{
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_ink);
}

void IconInk::text(const QRectF &rect, const QString &text, int pixels, bool bold)
{
    QFont font = FacePainter::font(pixels, bold ? QFont::Bold : QFont::DemiBold, true);
    m_painter.setFont(font);
    m_painter.setPen(m_ink);
    m_painter.drawText(rect, Qt::AlignCenter, text);
    line();
}

void IconInk::triangle(P tip, qreal width, qreal height, bool right)
{
    const qreal back = right ? tip.x() - width : tip.x() + width;
    fill();
    m_painter.drawPolygon(
        QPolygonF({tip, P(back, tip.y() - height / 2), P(back, tip.y() + height / 2)}));
    line();
}

void IconInk::speaker()
{
    fill();
    m_painter.drawPolygon(
        QPolygonF({P(3, 9), P(7, 9), P(12, 4.5), P(12, 19.5), P(7, 15), P(3, 15)}));
    line();
}

void IconInk::lock(P at, qreal size)
{
    const qreal s = size / 10.0;
    line(1.5);
    m_painter.drawArc(QRectF(at.x() + 2.2 * s, at.y(), 5.6 * s, 7 * s), 0, 180 * 16);
    fill();
    m_painter.drawRoundedRect(QRectF(at.x(), at.y() + 3.8 * s, 10 * s, 7 * s), 1.5 * s, 1.5 * s);
    line();
}

void IconInk::bluetooth(const QString &number)
{
    line(1.7);
    m_painter.drawPolyline(
        QPolygonF({P(5, 7.5), P(15, 16), P(10, 20.5), P(10, 3.5), P(15, 8), P(5, 16.5)}));
    text(QRectF(14, 12, 10, 12), number, 9);
}

void IconInk::sun(P c, qreal radius, qreal rays)
{
    line(1.6);
    m_painter.drawEllipse(c, radius, radius);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        const P d(std::cos(a), std::sin(a));
        m_painter.drawLine(c + d * (radius + 2), c + d * (radius + 2 + rays));
    }
    line();
}

void IconInk::sparkle(P c, qreal r)
{
    QPainterPath star;
    star.moveTo(c + P(0, -r));
    star.quadTo(c, c + P(r, 0));
    star.quadTo(c, c + P(0, r));
    star.quadTo(c, c + P(-r, 0));
    star.quadTo(c, c + P(0, -r));
    fill();
    m_painter.drawPath(star);
    line();
}

void IconInk::wave(qreal top)
{
    QPainterPath w;
    w.moveTo(2, top + 4);
    w.cubicTo(5, top - 2, 8, top - 2, 10, top + 4);
    w.cubicTo(12, top + 10, 15, top + 10, 18, top + 4);
    m_painter.drawPath(w);
}

void IconInk::plusMinus(P c, bool plus)
{
    line(1.8);
    m_painter.drawLine(c - P(2.8, 0), c + P(2.8, 0));
    if (plus)
        m_painter.drawLine(c - P(0, 2.8), c + P(0, 2.8));
}
