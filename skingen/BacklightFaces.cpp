#include "BacklightFaces.h"

#include "DialogParts.h"
#include "layout/BacklightTable.h"
#include "layout/MultiKeyTable.h"
#include "layout/SkinSet.h"
#include "layout/WindowsColour.h"
#include "model/KeyboardModel.h"
#include "skin/FacePalette.h"
#include "skin/KeyCapPainter.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int Width = BacklightTable::BaseWidth;
constexpr int Height = BacklightTable::BaseHeight;
static_assert(Width == MultiKeyTable::BaseWidth && Height == MultiKeyTable::BaseHeight,
              "the two dialogs share one outline");
constexpr int HeaderHeight = 36;
// Character height of the labels that carry the buttons' texts.
constexpr int LabelFontSize = 13;

QRectF rectOf(const ButtonRect &r)
{
    return QRectF(r.left, r.top, r.width(), r.height());
}

// A button's visible body inside its rectangle, centred on the text of its label, which sits
// a few pixels right of and below the rectangle's middle.
QRectF bodyUnder(const ButtonRect &button, const ButtonRect &label)
{
    const qreal cx = (label.left + label.right) / 2.0;
    const qreal cy = label.top + LabelFontSize * 0.6;
    const qreal halfWidth = std::min(cx - button.left, button.right - cx);
    const qreal halfHeight = std::min(cy - button.top, button.bottom - cy);
    return QRectF(cx - halfWidth, cy - halfHeight, 2 * halfWidth, 2 * halfHeight);
}

// The body, header with the model's name, and the keyboard's case: what both faces share.
QImage paintChrome(int deviceType)
{
    QImage face
        = FacePainter::blankFace(Width, Height, colourFromWindows(BacklightTable::ColourKey));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    FacePainter::body(painter, QRect(3, 3, Width - 6, Height - 6), 14);
    DialogParts::header(painter, Width, HeaderHeight);
    painter.setFont(FacePainter::font(12));
    painter.setPen(FacePalette::TextFaint);
    painter.drawText(QRectF(42, 10, 240, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromLatin1(KeyboardModel::name(deviceType)));
    // The case reaches two pixels beyond the outermost frames and a margin more.
    FacePainter::well(painter, QRectF(96, 89, 1061, 318), 12, FacePalette::Well);
    return face;
}

void paintKeys(QPainter &painter, const std::vector<DrawnButton> &table, bool picked)
{
    for (const DrawnButton &entry : table) {
        if (entry.keyIndex < 1 || !entry.isHittable())
            continue;
        const QRect rect(entry.rect.left, entry.rect.top, entry.rect.width(), entry.rect.height());
        const QString caption = QString::fromStdString(entry.captions.at("en-US"));
        if (picked)
            KeyCapPainter::paintPicked(painter, rect, caption);
        else
            KeyCapPainter::paint(painter, rect, caption, FaceLook::Checked);
    }
}

const DrawnButton *labelOf(const std::vector<DrawnButton> &table, int id)
{
    for (const DrawnButton &entry : table) {
        if (entry.id == id && entry.isLabel)
            return &entry;
    }
    return nullptr;
}

} // namespace

QImage paintBacklightFace(int deviceType, FaceLook look)
{
    using namespace BacklightTable;
    QImage face = paintChrome(deviceType);
    QPainter painter(&face);
    const std::vector<DrawnButton> table = build();
    // Keys are never highlighted here: their frames show their colours.
    paintKeys(painter, table, false);
    for (const DrawnButton &entry : table) {
        if (!entry.isHittable() || isKey(entry.id))
            continue;
        if (entry.id == CloseButton) {
            DialogParts::closeMark(painter, rectOf(entry.rect), look);
            continue;
        }
        const DrawnButton *label = labelOf(table, entry.id);
        const QRectF body = label ? bodyUnder(entry.rect, label->rect) : rectOf(entry.rect);
        if (entry.id == OkButton)
            DialogParts::primaryButton(painter, body, look);
        else
            FacePainter::pushButton(painter, body, look);
    }
    return face;
}

QImage paintMultiKeyFace(int deviceType, FaceLook look)
{
    using namespace MultiKeyTable;
    QImage face = paintChrome(deviceType);
    QPainter painter(&face);
    const std::vector<DrawnButton> table = build();
    // The highlight images show the keys picked: they are copied only for selected keys.
    paintKeys(painter, table, look != FaceLook::Normal);
    for (const DrawnButton &entry : table) {
        if (!entry.isHittable() || isKey(entry.id))
            continue;
        if (entry.id == CloseButton) {
            DialogParts::closeMark(painter, rectOf(entry.rect), look);
            continue;
        }
        const DrawnButton *label = labelOf(table, entry.id);
        DialogParts::primaryButton(
            painter, label ? bodyUnder(entry.rect, label->rect) : rectOf(entry.rect), look);
    }
    return face;
}

void paintBacklightFaces(SkinFaces &faces)
{
    const QColor key = colourFromWindows(BacklightTable::ColourKey);
    // Variants 1 and 4 have their own sets; the others open no lighting dialog.
    for (int deviceType : {1, 4}) {
        const SkinSet backlight = SkinIds::skinSet(SkinDialog::Backlight, deviceType);
        faces[backlight.background]
            = FacePainter::keyedOut(paintBacklightFace(deviceType, FaceLook::Normal), key);
        faces[backlight.hover]
            = FacePainter::keyedOut(paintBacklightFace(deviceType, FaceLook::Hover), key);
        faces[backlight.checked]
            = FacePainter::keyedOut(paintBacklightFace(deviceType, FaceLook::Checked), key);
        const SkinSet multiKey = SkinIds::skinSet(SkinDialog::MultiKeyColour, deviceType);
        faces[multiKey.background]
            = FacePainter::keyedOut(paintMultiKeyFace(deviceType, FaceLook::Normal), key);
        faces[multiKey.hover]
            = FacePainter::keyedOut(paintMultiKeyFace(deviceType, FaceLook::Hover), key);
        faces[multiKey.checked]
            = FacePainter::keyedOut(paintMultiKeyFace(deviceType, FaceLook::Checked), key);
    }
}
