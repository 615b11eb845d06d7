#pragma once

#include <QApplication>

#include <cstdlib>

// The benchmark program's one application, made on first use. Painting is measured off the
// screen, as the cold starts are.
inline QApplication &application()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "quillo_bench";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
