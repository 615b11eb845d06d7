#include "CodeIcons.h"

#include "IconInk.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

using P = QPointF;

bool mediaIcon(IconInk &ink, int code)
{
    QPainter &p = ink.p();
    switch (code) {
    case 115: // media select: two notes
        p.drawLine(P(9, 17), P(9, 5));
        p.drawLine(P(18, 15), P(18, 3.5));
        p.drawLine(P(9, 5), P(18, 3.5));
        ink.fill();
        p.drawEllipse(P(6.8, 17.5), 2.8, 2.2);
        p.drawEllipse(P(15.8, 15.5), 2.8, 2.2);
        return true;
    case 111: // play / pause
        ink.triangle(P(12, 12), 8, 12, true);
        ink.fill();
        p.drawRect(QRectF(14, 6, 2.5, 12));
        p.drawRect(QRectF(18.5, 6, 2.5, 12));
        return true;
    case 110: // stop
        ink.fill();
        p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
        return true;
    case 108: // next track
        ink.triangle(P(12, 12), 7, 11, true);
        ink.triangle(P(19, 12), 7, 11, true);
        ink.fill();
        p.drawRect(QRectF(19, 6.5, 2.4, 11));
        return true;
    case 109: // previous track
        ink.fill();
        p.drawRect(QRectF(2.6, 6.5, 2.4, 11));
        ink.triangle(P(5, 12), 7, 11, false);
        ink.triangle(P(12, 12), 7, 11, false);
        return true;
    case 114: // volume down
        ink.speaker();
        p.drawArc(QRectF(9, 8, 8, 8), -60 * 16, 120 * 16);
        ink.plusMinus(P(19.5, 19), false);
        return true;
    case 113: // volume up
        ink.speaker();
        p.drawArc(QRectF(9, 8, 8, 8), -60 * 16, 120 * 16);
        p.drawArc(QRectF(8, 4.5, 14, 15), -55 * 16, 110 * 16);
        return true;
    case 112: // mute
        ink.speaker();
        p.drawLine(P(15, 9), P(21, 15));
        p.drawLine(P(15, 15), P(21, 9));
        return true;
    case 121: // back
        p.drawLine(P(19, 12), P(5, 12));
        p.drawPolyline(QPolygonF({P(10.5, 6.5), P(5, 12), P(10.5, 17.5)}));
        return true;
    case 122: // forward
        p.drawLine(P(5, 12), P(19, 12));
        p.drawPolyline(QPolygonF({P(13.5, 6.5), P(19, 12), P(13.5, 17.5)}));
        return true;
    case 123: // stop loading
        p.drawEllipse(P(12, 12), 8.5, 8.5);
        p.drawLine(P(8.5, 8.5), P(15.5, 15.5));
        p.drawLine(P(8.5, 15.5), P(15.5, 8.5));
        return true;
    case 124: { // refresh
        p.drawArc(QRectF(4.5, 4.5, 15, 15), 60 * 16, 280 * 16);
        ink.fill();
        p.drawPolygon(QPolygonF({P(16.5, 2.5), P(19.5, 8.5), P(13, 8.5)}));
        return true;
    }
    case 125: { // favourites
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal a = -M_PI / 2 + i * M_PI / 5;
            const qreal r = i % 2 ? 4 : 9.5;
            star << P(12 + r * std::cos(a), 12.8 + r * std::sin(a));
        }
        p.drawPolygon(star);
        return true;
    }
    case 119: // search
        p.drawEllipse(P(10.5, 10.5), 6, 6);
        ink.line(2.4);
        p.drawLine(P(15, 15), P(20, 20));
        return true;
    case 116: // e-mail
        p.drawRoundedRect(QRectF(3.5, 6, 17, 12), 1.5, 1.5);
        p.drawPolyline(QPolygonF({P(4, 7), P(12, 13.5), P(20, 7)}));
        return true;
    case 120: // home
        p.drawPolyline(QPolygonF({P(3, 12), P(12, 4), P(21, 12)}));
        p.drawPolyline(QPolygonF({P(6, 10), P(6, 20), P(18, 20), P(18, 10)}));
        p.drawRect(QRectF(10, 14, 4, 6));
        return true;
    case 118: // my computer
        p.drawRoundedRect(QRectF(3.5, 4.5, 17, 11.5), 1.5, 1.5);
        p.drawLine(P(12, 16), P(12, 19.5));
        p.drawLine(P(7.5, 19.5), P(16.5, 19.5));
        return true;
    case 117: // calculator
        p.drawRoundedRect(QRectF(5.5, 3, 13, 18), 2, 2);
        p.drawRect(QRectF(8, 5.5, 8, 3.5));
        ink.fill();
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col)
                p.drawEllipse(P(8.8 + col * 3.2, 12.3 + row * 3), 0.95, 0.95);
        }
        return true;
    default:
        return false;
    }
}

bool functionIcon(IconInk &ink, int code)
{
    QPainter &p = ink.p();
    switch (code) {
    case 168:
    case 169:
    case 170:
    case 180:
    case 181: {
        const char *digit = code == 168   ? "1"
                            : code == 169 ? "2"
                            : code == 170 ? "3"
                            : code == 180 ? "4"
                                          : "5";
        ink.bluetooth(QString::fromLatin1(digit));
        return true;
    }
    case 167: // wire / wireless
        p.drawLine(P(7, 21), P(7, 13));
        p.drawRoundedRect(QRectF(4, 7, 6, 6), 1, 1);
        p.drawLine(P(5.5, 7), P(5.5, 4));
        p.drawLine(P(8.5, 7), P(8.5, 4));
        p.drawArc(QRectF(12, 8, 6, 6), -50 * 16, 100 * 16);
        p.drawArc(QRectF(10, 5, 12, 12), -50 * 16, 100 * 16);
        return true;
    case 151: // trigger point: a key moving down to a line
        p.drawRoundedRect(QRectF(6, 3.5, 12, 7), 2, 2);
        p.drawLine(P(12, 12), P(12, 18));
        p.drawPolyline(QPolygonF({P(9.5, 15.5), P(12, 18), P(14.5, 15.5)}));
        ink.line(1.4);
        p.drawLine(P(4, 20.5), P(20, 20.5));
        return true;
    case 171: // game
        p.drawRoundedRect(QRectF(2.5, 7, 19, 11), 5, 5);
        p.drawLine(P(6, 12.5), P(10, 12.5));
        p.drawLine(P(8, 10.5), P(8, 14.5));
        ink.fill();
        p.drawEllipse(P(15.5, 11), 1.2, 1.2);
        p.drawEllipse(P(18, 13.8), 1.2, 1.2);
        return true;
    case 172: { // ECO: a leaf
        QPainterPath leaf;
        leaf.moveTo(5, 19);
        leaf.cubicTo(4, 8, 12, 4, 20, 4);
        leaf.cubicTo(20, 13, 15, 19, 5, 19);
        p.drawPath(leaf);
        p.drawLine(P(5, 19), P(14, 10));
        return true;
    }
    case 155: // Win / Mac
        ink.text(QRectF(0, 3, 24, 18), QStringLiteral("W/M"), 10);
        return true;
    case 153: // Win lock: the window logo and a lock
        ink.fill();
        p.drawRect(QRectF(3, 4, 6, 6));
        p.drawRect(QRectF(10, 4, 6, 6));
        p.drawRect(QRectF(3, 11, 6, 6));
        p.drawRect(QRectF(10, 11, 6, 6));
        ink.lock(P(14, 12), 8);
        return true;
    case 154: // Fn lock
        ink.text(QRectF(0, 2, 17, 15), QStringLiteral("Fn"), 11);
        ink.lock(P(14, 12), 8);
        return true;
    case 150: // keyboard lock
        ink.lock(P(6, 4), 12);
        return true;
    case 174: // repeat rate: a gauge
        p.drawArc(QRectF(3, 5, 18, 18), 0, 180 * 16);
        p.drawLine(P(12, 14), P(17, 8.5));
        ink.fill();
        p.drawEllipse(P(12, 14), 1.6, 1.6);
        return true;
    case 175: // response delay: a clock
        p.drawEllipse(P(12, 12), 8.5, 8.5);
        p.drawPolyline(QPolygonF({P(12, 7), P(12, 12), P(15.5, 14)}));
        return true;
    case 156: // FN
        ink.text(QRectF(0, 3, 24, 18), QStringLiteral("FN"), 13);
        return true;
    case 159: // programmable keyboard
        p.drawRoundedRect(QRectF(2.5, 7, 19, 11), 2, 2);
        ink.fill();
        for (int col = 0; col < 5; ++col)
            p.drawRect(QRectF(4.8 + col * 3.1, 9.5, 1.8, 1.8));
        p.drawRect(QRectF(7, 13.5, 10, 1.8));
        return true;
    case 152: // Caps / Ctrl exchange
        ink.text(QRectF(0, 1, 24, 11), QStringLiteral("CAPS"), 7);
        ink.text(QRectF(0, 12, 24, 11), QStringLiteral("CTRL"), 7);
        ink.line(1.1);
        p.drawLine(P(5, 12), P(19, 12));
        return true;
    case 148: { // back colour exchange
        const QColor colours[] = {QColor("#ff4d4d"), QColor("#3bdc6a"), QColor("#4d8dff")};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colours[i]);
            p.drawPie(QRectF(4, 4, 16, 16), (90 + i * 120) * 16, 120 * 16);
        }
        ink.line(1.4);
        p.drawEllipse(P(12, 12), 8, 8);
        return true;
    }
    case 138: { // effect colour exchange
        const QColor colours[] = {QColor("#ff4d4d"), QColor("#3bdc6a"), QColor("#4d8dff")};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colours[i]);
            p.drawEllipse(P(6 + i * 6, 17), 2.6, 2.6);
        }
        ink.sparkle(P(12, 8), 5.5);
        return true;
    }
    case 137: // lamp effect
        ink.sparkle(P(10, 13), 7);
        ink.sparkle(P(18.5, 6), 3.5);
        return true;
    case 139: // effect exit
        ink.sparkle(P(9, 10), 6);
        p.drawLine(P(14, 14), P(20, 20));
        p.drawLine(P(14, 20), P(20, 14));
        return true;
    case 144:
    case 145: // backlight lightness - / +
        ink.sun(P(9.5, 10), 3.5, 2.2);
        ink.plusMinus(P(19, 19), code == 145);
        return true;
    case 135: // backlight switch: a bulb
        p.drawArc(QRectF(6, 3, 12, 12), -40 * 16, 260 * 16);
        p.drawLine(P(9.5, 14), P(9.5, 17));
        p.drawLine(P(14.5, 14), P(14.5, 17));
        p.drawLine(P(9.5, 17.5), P(14.5, 17.5));
        p.drawLine(P(10.5, 20.5), P(13.5, 20.5));
        return true;
    case 136: // backlight macro
        ink.sun(P(12, 12), 4.5, 2);
        ink.text(QRectF(7, 7, 10, 10), QStringLiteral("M"), 7);
        return true;
    case 143:
    case 142: // frequency + / -
        ink.wave(6);
        ink.plusMinus(P(19, 19), code == 143);
        return true;
    case 146: // direction left
        p.drawPolyline(QPolygonF({P(11, 6), P(5, 12), P(11, 18)}));
        p.drawPolyline(QPolygonF({P(18, 6), P(12, 12), P(18, 18)}));
        return true;
    case 147: // direction right
        p.drawPolyline(QPolygonF({P(6, 6), P(12, 12), P(6, 18)}));
        p.drawPolyline(QPolygonF({P(13, 6), P(19, 12), P(13, 18)}));
        return true;
    default:
        return false;
    }
}

} // namespace

namespace CodeIcons {

bool paint(QPainter &painter, int code, const QRectF &box, const QColor &ink)
{
    IconInk pen(painter, box, ink);
    return mediaIcon(pen, code) || functionIcon(pen, code);
}

} // namespace CodeIcons
