#pragma once

#include "skin/FacePainter.h"

// The key settings dialog's faces: seven pages in three looks, the Function page's plain face
// once per keyboard.
QImage paintKeySettingsFace(int deviceType, int page, FaceLook look);
void paintKeySettingsFaces(SkinFaces &faces);
