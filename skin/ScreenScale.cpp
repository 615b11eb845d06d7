#include "skin/ScreenScale.h"

#include "layout/ScaleFactor.h"

#include <QGuiApplication>
#include <QScreen>

double ScreenScale::primaryPixelRatio()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

float ScreenScale::primaryScaleFactor()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return computeScaleFactor(1080);
    // geometry() is in logical pixels: at 200 % a 2160-pixel screen reports 1080.
    return computeScaleFactor(
        devicePixels(screen->geometry().height(), screen->devicePixelRatio()));
}
