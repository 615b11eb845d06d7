#pragma once

#include "bench/BenchApplication.h"
#include "model/AppState.h"
#include "skin/DialogContext.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

#include <chrono>

// The program as the main window leaves it for a dialog, at the scale of a 1080-line screen:
// the application, an English Quillo(RGB) with its factory keys, the catalogue, the fonts and
// the built skins (`loaded` false without them).
struct BenchProgram {
    BenchProgram()
    {
        application();
        state.buildCatalogue();
        state.language = "en-US";
        state.deviceType = 4;
        state.scaleFactor = 1.5f;
        state.resetKeyModel();
        loaded = skins.load(QCoreApplication::applicationDirPath(), state.deviceType);
    }

    DialogContext context() const { return {state.language, state.scaleFactor, fonts}; }

    AppState state;
    FontTable fonts;
    SkinLibrary skins;
    bool loaded = false;
};

// Seconds from the call of `open`, which makes a window (a pointer to it, null when it did not
// open), to the end of its first paint; negative when none opened.
template<typename Open>
double secondsToFirstPaint(const Open &open)
{
    class FirstPaint : public QObject {
    public:
        bool painted = false;

    protected:
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted = true;
            return false;
        }
    };
    const auto begin = std::chrono::steady_clock::now();
    auto window = open();
    if (!window)
        return -1;
    FirstPaint watch;
    window->installEventFilter(&watch);
    window->show();
    while (!watch.painted)
        QCoreApplication::processEvents();
    const auto end = std::chrono::steady_clock::now();
    window->removeEventFilter(&watch);
    return std::chrono::duration<double>(end - begin).count();
}

// The pointer moved to a client point of `window`.
inline void moveMouseTo(QWidget &window, QPoint point)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(point), window.mapToGlobal(QPointF(point)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}
