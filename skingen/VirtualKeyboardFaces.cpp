#include "VirtualKeyboardFaces.h"

#include "DialogParts.h"
#include "layout/SkinSet.h"
#include "layout/VirtualKeyboardTable.h"
#include "layout/WindowsColour.h"
#include "skin/KeyCapPainter.h"

namespace {

using namespace VirtualKeyboardTable;

QRect rectOf(const ButtonRect &r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

QImage paintVirtualKeyboardFace(FaceLook look)
{
    QImage face = FacePainter::blankFace(BaseWidth, BaseHeight, colourFromWindows(ColourKey));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    FacePainter::body(painter, QRect(3, 3, BaseWidth - 6, BaseHeight - 6), 14);
    DialogParts::header(painter, BaseWidth, 38);
    FacePainter::well(painter, QRectF(20, 56, 892, 236), 10, QColor("#0c0d10"));
    const ButtonRect &text = PickTextArea;
    DialogParts::fieldFrame(
        painter, QRectF(text.left - 5, text.top - 4, text.width() + 10, text.height() + 8));
    for (const DrawnButton &entry : build()) {
        if (!entry.isHittable())
            continue;
        const QRect rect = rectOf(entry.rect);
        if (isKey(entry.id)) {
            // The keys look as keys do; the checked face shows them picked. Their legends are
            // the window's to draw, at the screen's resolution.
            if (look == FaceLook::Checked)
                KeyCapPainter::paintPicked(painter, rect, QString());
            else
                KeyCapPainter::paint(painter, rect, QString(),
                                     look == FaceLook::Hover ? FaceLook::Hover : FaceLook::Checked);
        } else if (entry.id == OkButton) {
            DialogParts::primaryButton(painter, rect, look);
        } else if (entry.id == CancelButton) {
            FacePainter::pushButton(painter, rect, look);
        } else if (entry.id == CloseMark) {
            DialogParts::closeMark(painter, rect, look);
        }
    }
    return face;
}

void paintVirtualKeyboardFaces(SkinFaces &faces)
{
    const SkinSet set = SkinIds::skinSet(SkinDialog::VirtualKeyboard, 1);
    const QColor key = colourFromWindows(ColourKey);
    faces[set.background] = FacePainter::keyedOut(paintVirtualKeyboardFace(FaceLook::Normal), key);
    faces[set.hover] = FacePainter::keyedOut(paintVirtualKeyboardFace(FaceLook::Hover), key);
    faces[set.checked] = FacePainter::keyedOut(paintVirtualKeyboardFace(FaceLook::Checked), key);
}
