// The main window's press-count heatmap: switching it on or off and painting the window, at
// scale 1.5.
#include "app/CNuboDlg.h"
#include "app/HeatmapView.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include "bench/BenchApplication.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// The main window at scale 1.5 on an emulated keyboard, its counters read.
struct CountedWindow {
    CountedWindow()
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
        // Every key a count of its own, one never pressed.
        for (int key = 1; key <= AppState::KeyCount; ++key)
            state.pressCounters.counts[std::size_t(key)] = key * key * 7;
        state.pressCounters.counts[77] = 0;
        state.pressCounters.updateExtremes();
        window->show();
        QCoreApplication::processEvents();
        started = true;
    }
    ~CountedWindow()
    {
        window.reset();
        state.hwi.__closeDev();
        quillodev::setHidBackend(nullptr);
    }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    FontTable fonts;
    SkinLibrary skins;
    std::unique_ptr<CNuboDlg> window;
    bool started = false;
};

void paint(CNuboDlg &window, QImage &target)
{
    QPainter painter(&target);
    window.render(&painter);
    benchmark::DoNotOptimize(target.constBits());
}

// One click of the toggle, on and off in turn, and the whole window painted after it.
void BM_HeatmapToggleRepaint(benchmark::State &bench)
{
    application();
    CountedWindow w;
    if (!w.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    QImage target(w.window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        w.window->heatmap().toggle({});
        paint(*w.window, target);
    }
}
BENCHMARK(BM_HeatmapToggleRepaint)->Unit(benchmark::kMillisecond);

// While it shows: any later paint, such as a hover change's.
void BM_HeatmapShownRepaint(benchmark::State &bench)
{
    application();
    CountedWindow w;
    if (!w.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    w.window->heatmap().setOn(true);
    QImage target(w.window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench)
        paint(*w.window, target);
}
BENCHMARK(BM_HeatmapShownRepaint)->Unit(benchmark::kMillisecond);

// The first paint after counters that were read anew: every cap painted, none copied.
void BM_HeatmapNewCountsRepaint(benchmark::State &bench)
{
    application();
    CountedWindow w;
    if (!w.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    w.window->heatmap().setOn(true);
    QImage target(w.window->size(), QImage::Format_ARGB32_Premultiplied);
    int round = 0;
    for (auto _ : bench) {
        ++round;
        for (int key = 1; key <= AppState::KeyCount; ++key)
            w.state.pressCounters.counts[std::size_t(key)] = (key * 37 + round * 11) % 500 + 1;
        paint(*w.window, target);
    }
}
BENCHMARK(BM_HeatmapNewCountsRepaint)->Unit(benchmark::kMillisecond);

} // namespace
