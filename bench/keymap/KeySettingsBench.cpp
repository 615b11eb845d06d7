// The key settings dialog: opening it to its first painted frame, a page switch and a hover
// change, at the scale of a 1080-line screen.
#include "bench/BenchProgram.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/KeySettingsTable.h"

#include <QApplication>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The program as the main window leaves it: catalogue, skins loaded, some lists in use.
struct Program : BenchProgram {
    Program()
    {
        for (int i = 0; i < 12; ++i) {
            state.predefinedMacros.setAt(20000, "Macro " + std::to_string(i));
            for (int step = 0; step < 40; ++step)
                state.predefinedMacros.items.editBack().setAt(20000, "<30 ms>");
        }
        state.currentKey = 30;
    }
};

std::unique_ptr<CNuboDialogKeyMapSettings> openDialog(Program &program)
{
    const AppState &state = program.state;
    const KeySettingsInput input{state.catalogue,
                                 state.deviceType,
                                 state.currentKey,
                                 state.currentLayer,
                                 state.assignment(state.currentKey, state.currentLayer),
                                 state.predefinedCombos,
                                 state.predefinedMacros,
                                 state.predefinedEmulations};
    auto dialog = std::make_unique<CNuboDialogKeyMapSettings>(
        program.context(), input, program.state,
        KeySettingsSkins::fromLibrary(program.skins, state.deviceType));
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

void BM_PageSwitchRepaint(benchmark::State &bench)
{
    application();
    Program program;
    auto dialog = program.loaded ? openDialog(program) : nullptr;
    if (!dialog) {
        bench.SkipWithError("the dialog did not open (is Quillores.rcc built?)");
        return;
    }
    dialog->show();
    QCoreApplication::processEvents();
    int page = 0;
    for (auto _ : bench) {
        page = (page + 1) % KeySettingsTable::PageCount;
        dialog->clickId(KeySettingsTable::FirstTab + page);
        dialog->repaint();
    }
}
BENCHMARK(BM_PageSwitchRepaint)->Unit(benchmark::kMillisecond);

void BM_HoverChangeRepaint(benchmark::State &bench)
{
    application();
    Program program;
    auto dialog = program.loaded ? openDialog(program) : nullptr;
    if (!dialog) {
        bench.SkipWithError("the dialog did not open (is Quillores.rcc built?)");
        return;
    }
    dialog->show();
    dialog->clickId(KeySettingsTable::FirstTab + 3);
    QCoreApplication::processEvents();
    const auto centre = [&](int id) {
        const ButtonRect r = dialog->table()[std::size_t(dialog->table().indexOfId(id))].rect;
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    const QPoint points[2] = {centre(402), centre(403)};
    int next = 0;
    for (auto _ : bench) {
        moveMouseTo(*dialog, points[next]);
        next ^= 1;
        // The rectangles the move invalidated are painted here.
        dialog->repaint(dialog->rect());
    }
}
BENCHMARK(BM_HoverChangeRepaint)->Unit(benchmark::kMillisecond);

} // namespace
