#pragma once

#include "skin/FacePainter.h"

// The main window's background, hover and checked faces of every variant.
void paintMainWindowFaces(SkinFaces &faces);

// One face of one variant, for looking at and for tests.
QImage paintMainWindowFace(int deviceType, FaceLook look);
