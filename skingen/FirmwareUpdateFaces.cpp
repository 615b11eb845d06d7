#include "FirmwareUpdateFaces.h"

#include "SmallDialogChrome.h"
#include "layout/FirmwareUpdateTable.h"
#include "layout/SkinSet.h"
#include "layout/WindowsColour.h"

QImage paintFirmwareUpdateFace(FaceLook look)
{
    using namespace FirmwareUpdateTable;
    const QColor key = colourFromWindows(ColourKey);
    QImage face = SmallDialogChrome::face(QSize(BaseWidth, BaseHeight), key);
    QPainter painter(&face);
    SmallDialogChrome::fieldWell(painter, VersionField);
    // The file label's text reaches close to its field.
    SmallDialogChrome::fieldWell(painter, FileField, 3);
    SmallDialogChrome::bar(painter, BarArea, look);
    for (const DrawnButton &entry : build()) {
        if (!entry.isHittable())
            continue;
        if (entry.id == CloseButton)
            SmallDialogChrome::closeMark(painter, entry.rect, look);
        else
            SmallDialogChrome::button(painter, entry.rect, look);
    }
    return face;
}

void paintFirmwareUpdateFaces(SkinFaces &faces)
{
    const SkinSet set = SkinIds::skinSet(SkinDialog::FirmwareUpdate, 1);
    const QColor key = colourFromWindows(FirmwareUpdateTable::ColourKey);
    faces[set.background] = FacePainter::keyedOut(paintFirmwareUpdateFace(FaceLook::Normal), key);
    faces[set.hover] = FacePainter::keyedOut(paintFirmwareUpdateFace(FaceLook::Hover), key);
    faces[set.checked] = FacePainter::keyedOut(paintFirmwareUpdateFace(FaceLook::Checked), key);
}
