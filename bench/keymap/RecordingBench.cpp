// Recording key strokes into a macro: from a hook message (or a key event of the dialog's own
// grab) to the step rows repainted, at the scale of a 1080-line screen. Fast typing is some 15
// keys a second, bursts faster; each event must cost far less than the time between them.
#include "bench/BenchProgram.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/KeySettingsTable.h"
#include "skin/PostedMessage.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Program : BenchProgram {
    Program()
    {
        for (int i = 0; i < 12; ++i)
            state.predefinedMacros.setAt(20000, "Macro " + std::to_string(i));
        state.predefinedMacros.top = 0;
        state.predefinedMacros.selected = 0;
        state.currentKey = 30;
    }
};

// Counts the paints, to show that every event was drawn.
class PaintCounter : public QObject {
public:
    long count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

bool noHook(WindowHandle)
{
    return false;
}
bool noUninstall()
{
    return true;
}

// A dialog recording a macro; the keyboard's own grab stands in for the library's hook.
std::unique_ptr<CNuboDialogKeyMapSettings> recordingDialog(Program &program)
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
    dialog->recordingHook().setGlobalHook({&noHook, &noUninstall});
    dialog->show();
    dialog->clickId(KeySettingsTable::FirstTab + 1);
    dialog->clickId(KeySettingsTable::RecordMacroButton);
    QCoreApplication::processEvents();
    return dialog;
}

// Long recordings start again before the limit, so that every event adds steps.
void restartWhenLong(benchmark::State &bench, CNuboDialogKeyMapSettings &dialog)
{
    if (dialog.model().macros().current().size() < 700)
        return;
    bench.PauseTiming();
    dialog.clickId(KeySettingsTable::RecordMacroButton);
    dialog.clickId(KeySettingsTable::RecordMacroButton);
    bench.ResumeTiming();
}

void BM_HookMessageToStepRowsRepainted(benchmark::State &bench)
{
    application();
    Program program;
    auto dialog = program.loaded ? recordingDialog(program) : nullptr;
    if (!dialog) {
        bench.SkipWithError("the dialog did not open (is Quillores.rcc built?)");
        return;
    }
    PaintCounter paints;
    dialog->installEventFilter(&paints);
    std::uint32_t time = 0;
    bool up = false;
    for (auto _ : bench) {
        PostedMessage message(quillodev::HookKeyMessage, (up ? 0x80000000u : 0u) | 0x41, 0);
        message.setEventTime(time += 35);
        QCoreApplication::sendEvent(dialog.get(), &message);
        // The repaint the message asked for, as the event loop does it.
        QCoreApplication::processEvents();
        up = !up;
        restartWhenLong(bench, *dialog);
    }
    bench.counters["paints_per_event"] = double(paints.count) / double(bench.iterations());
}
BENCHMARK(BM_HookMessageToStepRowsRepainted)->Unit(benchmark::kMillisecond);

void BM_GrabbedKeyToStepRowsRepainted(benchmark::State &bench)
{
    application();
    Program program;
    auto dialog = program.loaded ? recordingDialog(program) : nullptr;
    if (!dialog) {
        bench.SkipWithError("the dialog did not open (is Quillores.rcc built?)");
        return;
    }
    PaintCounter paints;
    dialog->installEventFilter(&paints);
    std::uint32_t time = 0;
    bool up = false;
    for (auto _ : bench) {
        // A key event through the grab; a release is handed on with the next event.
        QKeyEvent key(up ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 30 + 8,
                      0, 0);
        key.setTimestamp(time += 35);
        QCoreApplication::sendEvent(dialog.get(), &key);
        QCoreApplication::processEvents();
        up = !up;
        restartWhenLong(bench, *dialog);
    }
    bench.counters["paints_per_event"] = double(paints.count) / double(bench.iterations());
}
BENCHMARK(BM_GrabbedKeyToStepRowsRepainted)->Unit(benchmark::kMillisecond);

} // namespace
