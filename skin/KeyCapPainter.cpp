#include "skin/KeyCapPainter.h"

#include "skin/FacePalette.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

#include <cstring>

namespace {

// Symbol keys show their shifted legend above the plain one, as printed on real caps.
struct DualLegend {
    const char *caption;
    const char *upper;
    const char *lower;
};
constexpr DualLegend DualLegends[] = {
    {"~", "~", "`"},   {"1", "!", "1"}, {"2", "@", "2"},  {"3", "#", "3"}, {"4", "$", "4"},
    {"5", "%", "5"},   {"6", "^", "6"}, {"7", "&", "7"},  {"8", "*", "8"}, {"9", "(", "9"},
    {"0", ")", "0"},   {"-", "_", "-"}, {"+", "+", "="},  {"[", "{", "["}, {"]", "}", "]"},
    {"\\", "|", "\\"}, {";", ":", ";"}, {"'", "\"", "'"}, {"<", "<", ","}, {">", ">", "."},
    {"?", "?", "/"},
};

struct Replacement {
    const char *caption;
    const char *legend;
};
constexpr Replacement Replacements[] = {
    {"Up", "\u2191"},
    {"Down", "\u2193"},
    {"Left", "\u2190"},
    {"Right", "\u2192"},
    {"KP-", "\u2212"},
    {"KPEnter", "Enter"},
    {"LMenu", "Menu"},
    {"PrtScreen", "Prt\nScreen"},
    {"ScrollLock", "Scroll\nLock"},
    {"NumLock", "Num\nLock"},
    {"BackSpace", "Backspace"},
    {"PgDown", "PgDn"},
};

enum class MediaIcon { None, PlayPause, Previous, Next, Stop };

MediaIcon mediaIcon(const QString &caption)
{
    if (caption == QLatin1String("PlayPause"))
        return MediaIcon::PlayPause;
    if (caption == QLatin1String("PreviousTrack"))
        return MediaIcon::Previous;
    if (caption == QLatin1String("NextTrack"))
        return MediaIcon::Next;
    if (caption == QLatin1String("Stop"))
        return MediaIcon::Stop;
    return MediaIcon::None;
}

QPolygonF triangle(QPointF tip, qreal width, qreal height, bool pointsRight)
{
    const qreal back = pointsRight ? tip.x() - width : tip.x() + width;
    return QPolygonF(
        {tip, QPointF(back, tip.y() - height / 2), QPointF(back, tip.y() + height / 2)});
}

void paintMediaIcon(QPainter &painter, MediaIcon icon, QPointF c, const QColor &colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    switch (icon) {
    case MediaIcon::PlayPause:
        painter.drawPolygon(triangle(c + QPointF(0, 0), 9, 11, true));
        painter.drawRect(QRectF(c.x() + 2.5, c.y() - 5.5, 2.5, 11));
        painter.drawRect(QRectF(c.x() + 6.5, c.y() - 5.5, 2.5, 11));
        break;
    case MediaIcon::Previous:
        painter.drawRect(QRectF(c.x() - 9, c.y() - 5.5, 2.5, 11));
        painter.drawPolygon(triangle(c + QPointF(-6.5, 0), 7.5, 11, false));
        painter.drawPolygon(triangle(c + QPointF(1, 0), 7.5, 11, false));
        break;
    case MediaIcon::Next:
        painter.drawPolygon(triangle(c + QPointF(-1, 0), 7.5, 11, true));
        painter.drawPolygon(triangle(c + QPointF(6.5, 0), 7.5, 11, true));
        painter.drawRect(QRectF(c.x() + 6.5, c.y() - 5.5, 2.5, 11));
        break;
    case MediaIcon::Stop:
        painter.drawRoundedRect(QRectF(c.x() - 5, c.y() - 5, 10, 10), 1.5, 1.5);
        break;
    case MediaIcon::None:
        break;
    }
    painter.restore();
}

void paintLegend(QPainter &painter, const QRect &tableRect, const QString &caption, FaceLook look,
                 const QColor &colour)
{
    const MediaIcon icon = mediaIcon(caption);
    if (icon != MediaIcon::None) {
        paintMediaIcon(painter, icon, KeyCapPainter::faceRect(tableRect).center(), colour);
        return;
    }
    for (const KeyCapPainter::LegendPart &part : KeyCapPainter::legendParts(tableRect, caption)) {
        // The Fn key carries the accent, as the layer switch does.
        const QColor ink
            = part.accent && look != FaceLook::Normal ? FacePalette::AccentLight : colour;
        FacePainter::fittedText(painter, part.rect, part.text, part.pixelSize, part.weight, ink,
                                Qt::AlignCenter, part.condensed);
    }
}

// A cap's colours in each look: skirt and face gradients from top to bottom, and their rims
// (no skirt rim: the accent).
struct CapColours {
    const char *skirtTop;
    const char *skirtBottom;
    const char *faceTop;
    const char *faceBottom;
    const char *skirtRim;
    const char *faceRim;
};

constexpr CapColours NormalCap{"#17191d", "#131518", "#1c1e23", "#1a1c20", "#272b32", "#23262c"};
constexpr CapColours CheckedCap{"#2c3038", "#1e2126", "#3d424c", "#33373f", "#3b414b", "#4b515c"};
constexpr CapColours HoverCap{"#3a3530", "#2a2622", "#4a4f59", "#3e434c", nullptr, "#5d636e"};

const CapColours &capColours(FaceLook look)
{
    switch (look) {
    case FaceLook::Checked:
        return CheckedCap;
    case FaceLook::Hover:
        return HoverCap;
    case FaceLook::Normal:
        break;
    }
    return NormalCap;
}

} // namespace

namespace KeyCapPainter {

void paint(QPainter &painter, const QRect &tableRect, const QString &caption, FaceLook look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF skirt = QRectF(tableRect).adjusted(2.5, 2.5, -2.5, -2.5);
    const QRectF face = faceRect(tableRect);

    QLinearGradient skirtFill(skirt.topLeft(), skirt.bottomLeft());
    QLinearGradient faceFill(face.topLeft(), face.bottomLeft());
    const CapColours &colours = capColours(look);
    skirtFill.setColorAt(0, QColor(colours.skirtTop));
    skirtFill.setColorAt(1, QColor(colours.skirtBottom));
    faceFill.setColorAt(0, QColor(colours.faceTop));
    faceFill.setColorAt(1, QColor(colours.faceBottom));
    // The hovered cap is rimmed in the accent, as the other windows' hovered buttons are.
    const QColor skirtRim = colours.skirtRim ? QColor(colours.skirtRim) : FacePalette::Accent;
    const QColor faceRim(colours.faceRim);
    painter.setPen(QPen(skirtRim, 1));
    painter.setBrush(skirtFill);
    painter.drawRoundedRect(skirt, 5, 5);
    painter.setPen(QPen(faceRim, 1));
    painter.setBrush(faceFill);
    painter.drawRoundedRect(face, 4, 4);
    paintLegend(painter, tableRect, caption, look, legendColour(look));
    painter.restore();
}

void paintPicked(QPainter &painter, const QRect &tableRect, const QString &caption)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF skirt = QRectF(tableRect).adjusted(2.5, 2.5, -2.5, -2.5);
    const QRectF face = faceRect(tableRect);
    QLinearGradient skirtFill(skirt.topLeft(), skirt.bottomLeft());
    skirtFill.setColorAt(0, FacePalette::AccentDark);
    skirtFill.setColorAt(1, QColor("#7a3a0a"));
    QLinearGradient faceFill(face.topLeft(), face.bottomLeft());
    faceFill.setColorAt(0, FacePalette::AccentLight);
    faceFill.setColorAt(1, FacePalette::Accent);
    painter.setPen(QPen(QColor("#ffb36b"), 1));
    painter.setBrush(skirtFill);
    painter.drawRoundedRect(skirt, 5, 5);
    painter.setPen(QPen(QColor("#ffc48a"), 1));
    painter.setBrush(faceFill);
    painter.drawRoundedRect(face, 4, 4);
    // Normal: the Fn legend takes no accent of its own on an accent cap.
    paintLegend(painter, tableRect, caption, FaceLook::Normal, pickedLegendColour());
    painter.restore();
}

void paintTinted(QPainter &painter, const QRect &tableRect, const QString &caption,
                 const QColor &faceColour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF skirt = QRectF(tableRect).adjusted(2.5, 2.5, -2.5, -2.5);
    const QRectF face = faceRect(tableRect);
    QLinearGradient skirtFill(skirt.topLeft(), skirt.bottomLeft());
    skirtFill.setColorAt(0, faceColour.darker(160));
    skirtFill.setColorAt(1, faceColour.darker(240));
    painter.setPen(QPen(faceColour.darker(125), 1));
    painter.setBrush(skirtFill);
    painter.drawRoundedRect(skirt, 5, 5);
    // Flat, so that the colour read off the face is the scale's own.
    painter.setPen(QPen(faceColour.lighter(130), 1));
    painter.setBrush(faceColour);
    painter.drawRoundedRect(face, 4, 4);
    // Relative luminance of the sRGB colour, roughly: dark text on light faces.
    const double luminance
        = 0.2126 * faceColour.redF() + 0.7152 * faceColour.greenF() + 0.0722 * faceColour.blueF();
    const QColor ink = luminance > 0.45 ? QColor("#101114") : QColor("#f4f5f7");
    paintLegend(painter, tableRect, caption, FaceLook::Normal, ink);
    painter.restore();
}

std::vector<LegendPart> legendParts(const QRect &tableRect, const QString &caption)
{
    const QRectF face = faceRect(tableRect);
    const std::string text = caption.toStdString();
    for (const DualLegend &dual : DualLegends) {
        if (text == dual.caption) {
            const QRectF top(face.left(), face.top() + 2, face.width(), face.height() / 2 - 1);
            const QRectF bottom(face.left(), face.center().y() - 1, face.width(),
                                face.height() / 2);
            return {{top, QString::fromUtf8(dual.upper), 12, QFont::Normal, false, false},
                    {bottom, QString::fromUtf8(dual.lower), 13, QFont::DemiBold, false, false}};
        }
    }
    if (mediaIcon(caption) != MediaIcon::None)
        return {};
    QString legend = caption;
    for (const Replacement &r : Replacements) {
        if (text == r.caption)
            legend = QString::fromUtf8(r.legend);
    }
    if (legend.startsWith(QLatin1String("KP")) && legend.size() > 2)
        legend = legend.mid(2);
    if (legend.isEmpty())
        return {};

    // One character large; words in the condensed cut, all of them in one size and weight.
    const bool single = legend.size() == 1;
    const int size = single ? (legend.at(0).isLetterOrNumber() ? 15 : 16) : 12;
    return {{face.adjusted(1, 1, -1, -1), legend, size, QFont::DemiBold, !single,
             legend == QLatin1String("Fn")}};
}

QColor legendColour(FaceLook look)
{
    switch (look) {
    case FaceLook::Normal:
        return FacePalette::TextFaint;
    case FaceLook::Hover:
        return QColor(Qt::white);
    case FaceLook::Checked:
        break;
    }
    return FacePalette::Text;
}

QColor pickedLegendColour()
{
    return QColor("#1a0e04");
}

QRectF faceRect(const QRect &tableRect)
{
    return QRectF(tableRect).adjusted(2.5, 2.5, -2.5, -2.5).adjusted(3, 2, -3, -6);
}

} // namespace KeyCapPainter
