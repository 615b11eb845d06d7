#pragma once

#include <QString>

// How a platform lets the colour-key areas of a face through: X11 and Windows take the face's
// shape for the window; Wayland has no window shapes, so the window is translucent, those
// pixels are painted fully transparent and the shape only decides where clicks land; elsewhere
// (offscreen) the key colour is painted as it is.
enum class KeyedAreas {
    WindowShape,
    Translucent,
    Painted,
};

KeyedAreas keyedAreasFor(const QString &platformName);
