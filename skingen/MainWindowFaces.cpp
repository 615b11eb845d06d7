#include "MainWindowFaces.h"

#include "layout/MainWindowTable.h"
#include "layout/SkinSet.h"
#include "layout/WindowsColour.h"
#include "model/KeyboardModel.h"
#include "skin/FacePalette.h"
#include "skin/KeyCapPainter.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace {

using namespace FacePainter;

QRect rectOf(const ButtonRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

bool isToolButton(int id)
{
    return id == LanguageButton || id == GetCounterButton
           || (id >= SaveButton && id <= FirmwareButton) || id == HeatmapButton
           || id == KeyTestButton;
}

void paintLogo(QPainter &painter, const QPointF &at)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF tile(at, QSizeF(28, 28));
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, FacePalette::AccentLight);
    fill.setColorAt(1, FacePalette::AccentDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(tile, 7, 7);
    // A key cap seen from above: a lighter face inside the tile.
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRoundedRect(tile.adjusted(6, 5, -6, -8), 3, 3);
    painter.restore();
}

void paintHeader(QPainter &painter, int deviceType)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath header;
    header.addRoundedRect(QRectF(5.5, 5.5, 1229, 80), 14, 14);
    QPainterPath cut;
    cut.addRect(QRectF(0, 60, 1240, 40));
    header = header.subtracted(cut);
    header.addRect(QRectF(5.5, 40, 1229, 34));
    QLinearGradient fill(0, 5, 0, 74);
    fill.setColorAt(0, FacePalette::HeaderTop);
    fill.setColorAt(1, FacePalette::HeaderBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(header);
    painter.setPen(QPen(FacePalette::Divider, 1));
    painter.drawLine(QPointF(6, 74.5), QPointF(1234, 74.5));
    painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
    painter.drawLine(QPointF(6, 75.5), QPointF(1234, 75.5));

    paintLogo(painter, QPointF(24, 21));
    painter.setFont(font(21, QFont::Bold));
    painter.setPen(FacePalette::Text);
    QFont word = font(21, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(word);
    painter.drawText(QRectF(62, 18, 160, 34), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("QUILLO"));
    painter.setPen(QPen(FacePalette::Divider, 1));
    painter.drawLine(QPointF(178.5, 26), QPointF(178.5, 46));
    painter.setFont(font(14, QFont::Normal));
    painter.setPen(FacePalette::TextDim);
    painter.drawText(QRectF(192, 18, 300, 34), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(KeyboardModel::name(deviceType)));
    painter.restore();
}

void paintWindowButton(QPainter &painter, int id, const QRect &rect, FaceLook look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = QRectF(rect).center();
    const bool hover = look == FaceLook::Hover;
    if (hover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(id == ExitButton ? FacePalette::Danger : QColor("#3a3f48"));
        painter.drawEllipse(c, 10, 10);
    }
    const QColor ink = hover ? QColor(Qt::white) : FacePalette::TextDim;
    QPen pen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (id) {
    case ExitButton:
        painter.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
        painter.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
        break;
    case MinimiseButton:
        painter.drawLine(c + QPointF(-5, 0.5), c + QPointF(5, 0.5));
        break;
    case HelpButton: {
        QPainterPath hook;
        hook.moveTo(c + QPointF(-3.8, -2.5));
        hook.cubicTo(c + QPointF(-3.8, -7), c + QPointF(4, -7), c + QPointF(4, -2.8));
        hook.cubicTo(c + QPointF(4, 0), c + QPointF(0, 0), c + QPointF(0, 2.2));
        painter.drawPath(hook);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawEllipse(c + QPointF(0, 5.6), 1.2, 1.2);
        break;
    }
    default:
        break;
    }
    painter.restore();
}

void paintLayerSwitch(QPainter &painter, const QRect &rect, FaceLook look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(QRectF(rect).center().x(), 112.5);
    const QRectF track(c.x() - 22, c.y() - 11, 44, 22);
    const bool on = look == FaceLook::Checked;
    const bool hover = look == FaceLook::Hover;
    painter.setPen(QPen(on ? FacePalette::AccentLight
                           : (hover ? FacePalette::AccentLight : FacePalette::ButtonRim),
                        1));
    QLinearGradient fill(track.topLeft(), track.bottomLeft());
    if (on) {
        fill.setColorAt(0, FacePalette::AccentDark);
        fill.setColorAt(1, FacePalette::Accent);
    } else {
        fill.setColorAt(0, QColor("#15171a"));
        fill.setColorAt(1, hover ? QColor("#2a2e35") : QColor("#202328"));
    }
    painter.setBrush(fill);
    painter.drawRoundedRect(track, 11, 11);
    const QPointF knob(on ? track.right() - 11 : track.left() + 11, c.y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawEllipse(knob + QPointF(0, 1.2), 8.5, 8.5);
    QRadialGradient shine(knob + QPointF(-2, -3), 11);
    shine.setColorAt(0, QColor(Qt::white));
    shine.setColorAt(1, on || hover ? QColor("#e4e6ea") : QColor("#aeb3bb"));
    painter.setBrush(shine);
    painter.drawEllipse(knob, 8, 8);
    painter.restore();
}

void paintInfoCard(QPainter &painter, int deviceType)
{
    const QRectF card(980, 500, 240, 156);
    well(painter, card, 9, FacePalette::Card);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font(19, QFont::Bold));
    painter.setPen(FacePalette::Text);
    painter.drawText(QRectF(card.left() + 18, card.top() + 20, 210, 28),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(KeyboardModel::name(deviceType)));
    // The line under the name is the window's, in its language (MainWindowTable).

    // RGB models get a spectrum, the others the accent alone; the heatmap's legend takes
    // its place while the heatmap shows.
    const ButtonRect &legend = MainWindowTable::HeatmapLegendArea;
    const QRectF strip(legend.left, legend.top + 8, legend.width(), 5);
    QLinearGradient colours(strip.topLeft(), strip.topRight());
    if (MainWindowTable::hasBacklightButton(deviceType)) {
        const QColor stops[]
            = {QColor("#ff3b3b"), QColor("#ffb03b"), QColor("#f5ee4a"), QColor("#3bdc6a"),
               QColor("#38c6ff"), QColor("#5b6bff"), QColor("#c64bff")};
        for (int i = 0; i < 7; ++i)
            colours.setColorAt(i / 6.0, stops[i]);
    } else {
        colours.setColorAt(0, FacePalette::AccentDark);
        colours.setColorAt(1, FacePalette::AccentLight);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours);
    painter.drawRoundedRect(strip, 2.5, 2.5);
    painter.restore();
}

// Everything that looks the same in all three faces.
void paintChrome(QPainter &painter, int deviceType)
{
    using namespace MainWindowTable;
    body(painter, QRect(4, 4, 1232, 662), 16);
    paintHeader(painter, deviceType);
    // Tool bar shelf and the keyboard's case.
    well(painter, QRectF(104, 150, 1068, 328), 14, FacePalette::Well);
    well(painter,
         QRectF(ReportArea.left - 6, ReportArea.top - 6, ReportArea.width() + 12,
                ReportArea.height() + 12),
         9, FacePalette::FieldDark);
    // The legend's bars are the window's: they follow its names, measured in its font.
    paintInfoCard(painter, deviceType);
}

} // namespace

QImage paintMainWindowFace(int deviceType, FaceLook look)
{
    using namespace MainWindowTable;
    const std::vector<DrawnButton> table = build(deviceType);
    QImage face = blankFace(BaseWidth, BaseHeight, colourFromWindows(ColourKey));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintChrome(painter, deviceType);
    for (const DrawnButton &entry : table) {
        if (!entry.isHittable())
            continue;
        const QRect rect = rectOf(entry.rect);
        if (isToolButton(entry.id)) {
            pushButton(painter, rect, look);
        } else if (entry.id == HelpButton || entry.id == MinimiseButton || entry.id == ExitButton) {
            paintWindowButton(painter, entry.id, rect, look);
        } else if (entry.id == LayerButton) {
            paintLayerSwitch(painter, rect, look);
        } else if (entry.keyIndex > 0) {
            const auto caption = entry.captions.find("en-US");
            KeyCapPainter::paint(painter, rect,
                                 caption == entry.captions.end()
                                     ? QString()
                                     : QString::fromStdString(caption->second),
                                 look);
        }
    }
    return face;
}

void paintMainWindowFaces(SkinFaces &faces)
{
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        const SkinSet set = SkinIds::skinSet(SkinDialog::MainWindow, deviceType);
        const QColor key = colourFromWindows(MainWindowTable::ColourKey);
        faces[set.background] = keyedOut(paintMainWindowFace(deviceType, FaceLook::Normal), key);
        faces[set.hover] = keyedOut(paintMainWindowFace(deviceType, FaceLook::Hover), key);
        faces[set.checked] = keyedOut(paintMainWindowFace(deviceType, FaceLook::Checked), key);
    }
}
