#pragma once

#include "skin/FacePainter.h"

// The progress dialog's background, hover and checked faces.
void paintProgressFaces(SkinFaces &faces);
