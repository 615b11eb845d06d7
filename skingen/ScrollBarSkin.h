#pragma once

#include "skin/FacePainter.h"

// The scroll bar's sheet of 9 x 3 square cells (rows normal, hot, pressed; columns up arrow,
// down arrow, thumb, track, then left arrow, right arrow, thumb, track).
void paintScrollBarSkin(SkinFaces &faces);

QImage paintScrollBarSheet(int cellSize);
