#include "FirmwareUpdateFaces.h"

#include "SmallDialogChrome.h"
#include "layout/FirmwareUpdateTable.h"

void paintFirmwareUpdateFaces(SkinFaces &faces)
{
    using namespace FirmwareUpdateTable;
    SmallDialogChrome::paintJobFaces(faces,
                                     {SkinDialog::FirmwareUpdate, QSize(BaseWidth, BaseHeight),
                                      ColourKey, BarArea, build(), CloseButton},
                                     [](QPainter &painter) {
                                         SmallDialogChrome::fieldWell(painter, VersionField);
                                         // The file label's text reaches close to its field.
                                         SmallDialogChrome::fieldWell(painter, FileField, 3);
                                     });
}
