#pragma once

#include <QIcon>

class QPainter;
class QRectF;

// The program's icon for the window, the taskbar and the notification area: a dark key cap
// with the orange "Q" of the report box colours, drawn at whatever size the desktop asks for.
class AppIcon {
public:
    static QIcon icon();
    // The picture itself, centred in `area`; also what the installed icon files are made of.
    static void paint(QPainter &painter, const QRectF &area);
};
