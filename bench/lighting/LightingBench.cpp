// The backlight dialog: opening it to its first painted frame, and the repaint after a key's
// colour changed, at the scale of a 1080-line screen.
#include "bench/BenchProgram.h"
#include "jobs/DeviceWorker.h"
#include "layout/BacklightTable.h"
#include "lighting/BacklightSkins.h"
#include "lighting/CNuboDialogBkLightSettings.h"

#include <QApplication>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The program as the main window leaves it: catalogue, skins loaded, a colour on every key.
struct Program : BenchProgram {
    Program()
    {
        for (int key = 1; key <= AppState::KeyCount; ++key)
            state.lightSettings[std::size_t(key)] = {key * 2, 255 - key * 2, (key * 37) % 256};
    }

    DeviceWorker worker;
};

std::unique_ptr<CNuboDialogBkLightSettings> openDialog(Program &program)
{
    auto dialog = std::make_unique<CNuboDialogBkLightSettings>(
        program.context(), DeviceAccess{program.state.hwi, program.worker},
        JobData{program.state.catalogue, program.state, program.state.pressCounters},
        program.state.multiKeyExchange, program.state.deviceType,
        BacklightSkins::fromLibrary(program.skins, program.state.deviceType));
    if (!dialog->initialise())
        return nullptr;
    return dialog;
}

void BM_OpenToFirstPaintAtScale15(benchmark::State &bench)
{
    application();
    Program program;
    if (!program.loaded) {
        bench.SkipWithError("Quillores.rcc is not built");
        return;
    }
    for (auto _ : bench) {
        const double seconds = secondsToFirstPaint([&] { return openDialog(program); });
        if (seconds < 0) {
            bench.SkipWithError("the dialog did not open");
            return;
        }
        bench.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_OpenToFirstPaintAtScale15)->UseManualTime()->Unit(benchmark::kMillisecond);

// A click on a key whose chooser confirms a new colour, and the repaint that follows.
void BM_ColourChangeRepaint(benchmark::State &bench)
{
    application();
    Program program;
    auto dialog = program.loaded ? openDialog(program) : nullptr;
    if (!dialog) {
        bench.SkipWithError("the dialog did not open (is Quillores.rcc built?)");
        return;
    }
    int next = 0;
    dialog->setColourChooser([&next](const ColourRequest &) {
        next = (next + 1) % 256;
        return std::optional<LightColour>(LightColour{next, 255 - next, 128});
    });
    dialog->show();
    QCoreApplication::processEvents();
    for (auto _ : bench) {
        dialog->clickId(BacklightTable::FirstKey - 1 + 70);
        dialog->repaint();
    }
}
BENCHMARK(BM_ColourChangeRepaint)->Unit(benchmark::kMillisecond);

} // namespace
