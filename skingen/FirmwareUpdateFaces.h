#pragma once

#include "skin/FacePainter.h"

// The firmware update dialog's background, hover and checked faces.
void paintFirmwareUpdateFaces(SkinFaces &faces);
