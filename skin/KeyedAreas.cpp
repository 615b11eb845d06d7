#include "skin/KeyedAreas.h"

KeyedAreas keyedAreasFor(const QString &platformName)
{
    if (platformName == QLatin1String("xcb") || platformName == QLatin1String("windows"))
        return KeyedAreas::WindowShape;
    // "wayland", "wayland-egl" and the like.
    if (platformName.startsWith(QLatin1String("wayland")))
        return KeyedAreas::Translucent;
    return KeyedAreas::Painted;
}
