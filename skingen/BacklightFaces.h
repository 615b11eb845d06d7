#pragma once

#include "skin/FacePainter.h"

// The faces of the two lighting dialogs for the RGB keyboards: the backlight settings dialog
// and the multi-key colour dialog, each as it is, under the pointer and pressed.
QImage paintBacklightFace(int deviceType, FaceLook look);
QImage paintMultiKeyFace(int deviceType, FaceLook look);
void paintBacklightFaces(SkinFaces &faces);
