#pragma once

#include "layout/DrawnButton.h"
#include "model/LightSettings.h"

class QPainter;

// Paints what both lighting dialogs draw around their keys.
namespace KeyFramePainter {

// The frame of a key entry (keyIndex above 0) in its colour from `colours`, on the face at
// base size; `scale` is the dialog's client pixels per base pixel. Other entries get nothing.
void paint(QPainter &painter, const DrawnButton &entry, const LightSettings &colours, float scale);

} // namespace KeyFramePainter
