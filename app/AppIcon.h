#pragma once

#include <QIcon>

// The program's icon for the window, the taskbar and the notification area: a dark key cap
// with the orange "Q" of the report box colours, drawn at whatever size the desktop asks for.
class AppIcon {
public:
    static QIcon icon();
};
