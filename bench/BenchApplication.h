#pragma once

#include <QApplication>

#include <cstdlib>

// The benchmark program's one application, made on first use. Painting is measured off the
// screen, as the cold starts are. It is never destroyed: at the program's end Qt's own statics
// made after it (the input devices of the first window) are gone before it would be, and its
// end crashed every benchmark program that opened a window.
inline QApplication &application()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "quillo_bench";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}
