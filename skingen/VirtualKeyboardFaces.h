#pragma once

#include "skin/FacePainter.h"

// The virtual keyboard's three faces: keys as they are, under the pointer, and picked.
QImage paintVirtualKeyboardFace(FaceLook look);
void paintVirtualKeyboardFaces(SkinFaces &faces);
