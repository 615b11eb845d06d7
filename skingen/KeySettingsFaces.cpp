#include "KeySettingsFaces.h"

#include "CodeIcons.h"
#include "DialogParts.h"
#include "layout/KeySettingsTable.h"
#include "layout/SkinSet.h"
#include "layout/WindowsColour.h"
#include "skin/FacePalette.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

using namespace KeySettingsTable;
using Kind = KeySettingsTable::Kind;

QRectF rectOf(const ButtonRect &r)
{
    return QRectF(r.left, r.top, r.width(), r.height());
}

QRectF box(qreal left, qreal top, qreal right, qreal bottom)
{
    return QRectF(left, top, right - left, bottom - top);
}

void codeRow(QPainter &painter, const QRectF &rect, FaceLook look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = rect.adjusted(0.5, 1, -0.5, -1);
    if (look == FaceLook::Normal) {
        painter.setPen(QPen(QColor("#262a30"), 1));
        painter.setBrush(QColor("#1c1f24"));
        painter.drawRoundedRect(r, 4, 4);
    } else {
        DialogParts::listRow(painter, r, look);
    }
    painter.restore();
}

// A mouse seen from above, beside the Mouse page's two columns.
void mouseDrawing(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body(372, 104, 120, 176);
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    fill.setColorAt(0, QColor("#2a2e35"));
    fill.setColorAt(1, QColor("#1a1c20"));
    painter.setPen(QPen(QColor("#3b414b"), 1.5));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 58, 62);
    painter.setPen(QPen(QColor("#3b414b"), 1.2));
    painter.drawLine(QPointF(body.center().x(), body.top() + 2), QPointF(body.center().x(), 176));
    painter.drawArc(QRectF(body.left() + 6, 150, body.width() - 12, 52), 200 * 16, 140 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FacePalette::Accent);
    painter.drawRoundedRect(QRectF(body.center().x() - 4, 124, 8, 22), 4, 4);
    // The moves around it.
    painter.setPen(QPen(QColor("#4b515c"), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF c = body.center();
    const auto chevron = [&](QPointF tip, QPointF back) {
        const QPointF d = tip - back;
        const QPointF n(-d.y() * 0.6, d.x() * 0.6);
        painter.drawPolyline(QPolygonF({back + n, tip, back - n}));
    };
    chevron(QPointF(c.x(), body.top() - 12), QPointF(c.x(), body.top() - 6));
    chevron(QPointF(c.x(), body.bottom() + 12), QPointF(c.x(), body.bottom() + 6));
    chevron(QPointF(body.left() - 14, c.y()), QPointF(body.left() - 8, c.y()));
    chevron(QPointF(body.right() + 14, c.y()), QPointF(body.right() + 8, c.y()));
    painter.restore();
}

// Wake, sleep and power, drawn large above their buttons.
void powerDrawings(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink("#5d636e");
    QPen pen(ink, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Wake: a rising sun.
    QPointF c(202, 140);
    painter.drawArc(QRectF(c.x() - 12, c.y() - 12, 24, 24), 0, 180 * 16);
    painter.drawLine(QPointF(c.x() - 22, c.y()), QPointF(c.x() + 22, c.y()));
    for (int i = 1; i < 6; ++i) {
        const qreal a = M_PI * i / 6;
        const QPointF d(std::cos(a), -std::sin(a));
        painter.drawLine(c + d * 16, c + d * 21);
    }
    // Sleep: a crescent.
    c = QPointF(291, 128);
    QPainterPath moon;
    moon.addEllipse(c, 14, 14);
    QPainterPath bite;
    bite.addEllipse(c + QPointF(7, -6), 12, 12);
    painter.drawPath(moon.subtracted(bite));
    // Power: the broken ring and its bar.
    c = QPointF(380, 128);
    painter.drawArc(QRectF(c.x() - 14, c.y() - 14, 28, 28), 120 * 16, 300 * 16);
    painter.drawLine(QPointF(c.x(), c.y() - 18), QPointF(c.x(), c.y() - 2));
    painter.restore();
}

// Frames and drawings that do not change with the look.
void paintPageChrome(QPainter &painter, int page)
{
    DialogParts::panel(painter, box(12, 86, 578, 312));
    switch (page) {
    case 1:
        painter.setPen(QPen(FacePalette::Divider, 1));
        painter.drawLine(QPointF(189.5, 100), QPointF(189.5, 282));
        DialogParts::fieldFrame(painter, box(44, 161, 164, 189));
        DialogParts::listFrame(painter, box(211, 133, 376, 236));
        DialogParts::fieldFrame(painter, box(378, 135, 524, 192));
        break;
    case 2:
    case 3:
        DialogParts::listFrame(painter, box(34, 112, 199, 244));
        DialogParts::listFrame(painter, box(210, 112, 375, 244));
        // The fields draw their own frames: they sit further right in English.
        if (page == 2)
            FacePainter::well(painter, box(224, 251, 546, 310), 6, QColor("#131518"));
        break;
    case 5:
        mouseDrawing(painter);
        break;
    case 7:
        powerDrawings(painter);
        break;
    default:
        break;
    }
}

void paintEntry(QPainter &painter, const DrawnButton &entry, int page, FaceLook look)
{
    const QRectF rect = rectOf(entry.rect);
    switch (kindOf(entry.id)) {
    case Kind::PushButton:
    case Kind::PowerKey:
        FacePainter::pushButton(painter, rect, look);
        break;
    case Kind::PrimaryButton:
        DialogParts::primaryButton(painter, rect, look);
        break;
    case Kind::PageTab:
        DialogParts::pageTab(painter, rect, look, entry.id - FirstTab + 1 == page);
        break;
    case Kind::CloseMark:
        DialogParts::closeMark(painter, rect, look);
        break;
    case Kind::Radio: {
        const qreal x = rect.width() > 20 ? rect.left() + 8 : rect.center().x();
        DialogParts::radio(painter, QPointF(x, rect.center().y()), look);
        break;
    }
    case Kind::Check:
        DialogParts::check(painter, rect, look);
        break;
    case Kind::Plate:
        DialogParts::plate(painter, rect.adjusted(0, 0, 0, -8));
        break;
    case Kind::ListRow:
        DialogParts::listRow(painter, rect, look);
        break;
    case Kind::CodeCap:
        DialogParts::iconCap(painter, rect, look);
        CodeIcons::paint(painter, entry.itemCode, rect.adjusted(6, 6, -6, -6),
                         DialogParts::iconInk(look));
        break;
    case Kind::CodeRow:
        codeRow(painter, rect, look);
        break;
    case Kind::Label:
    case Kind::None:
        break;
    }
}

// The Function page's slots that a keyboard lacks: where they stand on the fullest keyboard.
void paintEmptySockets(QPainter &painter, const std::vector<DrawnButton> &table)
{
    for (const DrawnButton &full : build(1)) {
        if (pageOfId(full.id) != 6 || full.isLabel)
            continue;
        const bool present = std::any_of(table.begin(), table.end(),
                                         [&](const DrawnButton &e) { return e.id == full.id; });
        if (!present)
            DialogParts::emptySocket(painter, rectOf(full.rect));
    }
}

} // namespace

QImage paintKeySettingsFace(int deviceType, int page, FaceLook look)
{
    const std::vector<DrawnButton> table = build(deviceType);
    QImage face = FacePainter::blankFace(BaseWidth, BaseHeight, colourFromWindows(ColourKey));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    FacePainter::body(painter, QRect(3, 3, BaseWidth - 6, BaseHeight - 6), 13);
    DialogParts::header(painter, BaseWidth, 36);
    DialogParts::tabBaseline(painter, 80, 14, BaseWidth - 14);
    paintPageChrome(painter, page);
    if (page == 6 && look == FaceLook::Normal)
        paintEmptySockets(painter, table);
    for (const DrawnButton &entry : table) {
        const int entryPage = pageOfId(entry.id);
        if (entry.isHittable() && (entryPage == 0 || entryPage == page))
            paintEntry(painter, entry, page, look);
    }
    return face;
}

void paintKeySettingsFaces(SkinFaces &faces)
{
    const QColor key = colourFromWindows(ColourKey);
    for (int page = 1; page <= PageCount; ++page) {
        for (int deviceType = 1; deviceType <= 4; ++deviceType) {
            const SkinSet set = SkinIds::skinSet(SkinDialog::KeySettings, deviceType, page);
            // Only the Function page's plain face differs between keyboards; its highlights
            // show every button there is.
            if (!faces.count(set.background))
                faces[set.background] = FacePainter::keyedOut(
                    paintKeySettingsFace(deviceType, page, FaceLook::Normal), key);
            if (!faces.count(set.hover))
                faces[set.hover]
                    = FacePainter::keyedOut(paintKeySettingsFace(1, page, FaceLook::Hover), key);
            if (!faces.count(set.checked))
                faces[set.checked]
                    = FacePainter::keyedOut(paintKeySettingsFace(1, page, FaceLook::Checked), key);
        }
    }
}
