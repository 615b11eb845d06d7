// The main window's key test at scale 1.5: what one keystroke costs, from the key event to
// the repainted cap and report, against a repaint of the whole window.
#include "app/CNuboDlg.h"
#include "app/KeyTester.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include "bench/BenchApplication.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <linux/input-event-codes.h>

#include <memory>

namespace {

struct TestingWindow {
    TestingWindow()
        : keyboard(quillosim::SimKeyboard::create(4))
    {
        quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
        state.deviceType = 4;
        state.buildCatalogue();
        state.scaleFactor = 1.5f;
        if (!skins.load(QCoreApplication::applicationDirPath(), state.deviceType))
            return;
        window = std::make_unique<CNuboDlg>(
            state, fonts, skins.images(SkinIds::skinSet(SkinDialog::MainWindow, state.deviceType)));
        if (!window->initialise())
            return;
        window->show();
        window->runCommand(KeyTestButton);
        QCoreApplication::processEvents();
        started = window->keyTester().isOn();
    }
    ~TestingWindow()
    {
        window.reset();
        state.hwi.__closeDev();
        quillodev::setHidBackend(nullptr);
    }

    void send(unsigned short evdev, bool press)
    {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                        quint32(evdev) + 8, 0, 0);
        QCoreApplication::sendEvent(window.get(), &event);
    }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    FontTable fonts;
    SkinLibrary skins;
    std::unique_ptr<CNuboDlg> window;
    bool started = false;
};

constexpr unsigned short Keys[] = {KEY_A,     KEY_KPENTER,   KEY_RIGHTSHIFT, KEY_KP1,
                                   KEY_SPACE, KEY_PLAYPAUSE, KEY_F5,         KEY_BACKSPACE};

// One press and one release, each painted as the window paints it (the cap and the report).
void BM_KeyTestKeystroke(benchmark::State &bench)
{
    application();
    TestingWindow w;
    if (!w.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    std::size_t i = 0;
    for (auto _ : bench) {
        const unsigned short key = Keys[i++ % std::size(Keys)];
        w.send(key, true);
        QCoreApplication::processEvents();
        w.send(key, false);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_KeyTestKeystroke)->Unit(benchmark::kMillisecond);

// For comparison: the whole window repainted twice, as a keystroke would cost without the
// repaint kept to its cap.
void BM_KeyTestWholeWindowTwice(benchmark::State &bench)
{
    application();
    TestingWindow w;
    if (!w.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    for (auto _ : bench) {
        w.window->update();
        QCoreApplication::processEvents();
        w.window->update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_KeyTestWholeWindowTwice)->Unit(benchmark::kMillisecond);

} // namespace
