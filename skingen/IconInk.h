#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

// The pen of the code icons: icons are drawn on a 24 x 24 grid, scaled into their box, in one
// ink; with the shapes several icons share.
class IconInk {
public:
    IconInk(QPainter &painter, const QRectF &box, const QColor &ink);
    ~IconInk();
    IconInk(const IconInk &) = delete;
    IconInk &operator=(const IconInk &) = delete;

    void line(qreal width = 1.8);
    void fill();
    void text(const QRectF &rect, const QString &text, int pixels, bool bold = true);
    QPainter &p() { return m_painter; }

    void triangle(QPointF tip, qreal width, qreal height, bool right);
    void speaker();
    void lock(QPointF at, qreal size);
    void bluetooth(const QString &number);
    void sun(QPointF c, qreal radius, qreal rays);
    void sparkle(QPointF c, qreal r);
    void wave(qreal top);
    void plusMinus(QPointF c, bool plus);

private:
    QPainter &m_painter;
    QColor m_ink;
};
