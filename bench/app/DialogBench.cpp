// How long every dialog takes from the call that opens it to its first painted frame, at
// scale 1.5: opened first right after the start and opened again; either way its faces are
// unpacked as it opens. The main window's own commands open them, as a click would.
//
// BM_OpenFirst/NAME opens the dialog once in a freshly started program. Run alone in a
// process of its own it is the first open after a start; the footprint runner runs it so.
// Several in one process share Qt's one-time costs, and the label says so.
// BM_OpenAgain/NAME opens it once untimed, then times each further open.
#include "FirstFrame.h"
#include "StartedProgram.h"

#include "bench/profile/ProfileFixture.h"

#include "app/DeviceCommands.h"
#include "app/OfflineOffer.h"
#include "app/SearchingDialog.h"
#include "jobs/DeviceWorker.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/BacklightTable.h"
#include "layout/KeySettingsTable.h"
#include "layout/MainWindowTable.h"
#include "layout/SkinSet.h"
#include "lighting/CNuboDialogBkLightSettings.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The key whose settings open; its assignment decides the page.
constexpr int Key = 30;

struct DialogCase {
    std::string name;
    int variant;
    bool mainWindow;
    std::function<void(StartedProgram &)> prepare;
    // Seconds to the first frame, negative when none came.
    std::function<double(StartedProgram &)> open;
};

// A list of `count` entries of `steps` key steps each.
ActionList namedList(int count, int pageRows, int steps)
{
    ActionList list(pageRows);
    for (int n = 0; n < count; ++n) {
        ActionList entry(pageRows);
        for (int step = 0; step < steps; ++step)
            entry.append(step % 2 ? "A UP" : "A Down");
        list.append("entry " + std::to_string(n));
        list.items.editBack() = entry;
    }
    return list;
}

// A configuration as a user keeps it: a few entries in each list, the key set to `value`.
std::function<void(StartedProgram &)> assign(KeyAssignment::Category category, int code = 0)
{
    return [category, code](StartedProgram &program) {
        AppState &state = program.state;
        state.predefinedCombos = namedList(4, 6, 3);
        state.predefinedMacros = namedList(4, 9, 40);
        state.predefinedEmulations = namedList(4, 9, 6);
        const ActionList *list = category == KeyAssignment::Combo   ? &state.predefinedCombos
                                 : category == KeyAssignment::Macro ? &state.predefinedMacros
                                 : category == KeyAssignment::Emulation
                                     ? &state.predefinedEmulations
                                     : nullptr;
        state.setAssignment(Key, 0, {category, code, list ? list->items[1] : ActionList{}});
    };
}

// The largest configuration the program holds, the key one of its macros.
void maximal(StartedProgram &program)
{
    const std::unique_ptr<AppState> largest = benchConfiguration(true);
    AppState &state = program.state;
    state.category = largest->category;
    state.code = largest->code;
    state.action = std::move(largest->action);
    state.predefinedCombos = std::move(largest->predefinedCombos);
    state.predefinedMacros = std::move(largest->predefinedMacros);
    state.predefinedEmulations = std::move(largest->predefinedEmulations);
}

double runCommand(StartedProgram &program, int id)
{
    return secondsToFirstFrame([&] { program.window->runCommand(id); });
}

// A dialog opened from one already painted: from the click on its button to its frame.
template<typename Host>
double openFrom(StartedProgram &program, int hostCommand, int button)
{
    double seconds = -1;
    secondsToFirstFrame([&] { program.window->runCommand(hostCommand); },
                        [&](QWidget &window) {
                            if (auto *host = qobject_cast<Host *>(&window))
                                seconds = secondsToFirstFrame([&] { host->clickId(button); });
                        });
    return seconds;
}

std::vector<DialogCase> dialogCases()
{
    const int keyCommand = FirstKeyButton + Key - 1;
    const auto keySettings = [keyCommand](StartedProgram &program) {
        return runCommand(program, keyCommand);
    };
    std::vector<DialogCase> cases;
    const std::pair<const char *, std::function<void(StartedProgram &)>> pages[] = {
        {"Single", assign(KeyAssignment::Single, 20)},
        {"Combo", assign(KeyAssignment::Combo)},
        {"Macro", assign(KeyAssignment::Macro)},
        {"Emulation", assign(KeyAssignment::Emulation)},
        {"Multimedia", assign(KeyAssignment::Multimedia, 113)},
        {"Mouse", assign(KeyAssignment::Mouse, 127)},
        {"Function", assign(KeyAssignment::Function, 156)},
        {"Power", assign(KeyAssignment::Power, 77)},
        {"MacroMaximal", maximal},
    };
    for (const auto &[page, prepare] : pages)
        cases.push_back({std::string("KeySettings/") + page, 4, true, prepare, keySettings});
    cases.push_back({"VirtualKeyboard", 4, true, assign(KeyAssignment::Single, 20),
                     [keyCommand](StartedProgram &program) {
                         return openFrom<CNuboDialogKeyMapSettings>(
                             program, keyCommand, KeySettingsTable::VirtualSingleButton);
                     }});
    for (int variant : {1, 4}) {
        const std::string suffix = "/variant" + std::to_string(variant);
        cases.push_back({"Backlight" + suffix, variant, true, {}, [](StartedProgram &program) {
                             return runCommand(program, BacklightButton);
                         }});
        cases.push_back({"MultiKey" + suffix, variant, true, {}, [](StartedProgram &program) {
                             return openFrom<CNuboDialogBkLightSettings>(
                                 program, BacklightButton, BacklightTable::MultiKeyButton);
                         }});
    }
    cases.push_back({"FirmwareUpdate", 4, true, {}, [](StartedProgram &program) {
                         return runCommand(program, FirmwareButton);
                     }});
    // Write key settings, closed at its first frame; a short flash pause keeps its job from
    // ending before that, and the job ends on its own after it.
    cases.push_back(
        {"Progress", 4, true,
         [](StartedProgram &program) {
             program.window->deviceCommands().setWaits({std::chrono::milliseconds(200), {}, {}});
         },
         [](StartedProgram &program) {
             const double seconds = runCommand(program, WriteKeysButton);
             program.window->deviceWorker().wait();
             return seconds;
         }});
    // Before the main window: the search for a keyboard, and the offer to work offline.
    cases.push_back({"Searching", 4, false, {}, [](StartedProgram &program) {
                         return secondsToFirstFrame([&] {
                             SearchingDialog searching(
                                 {program.state.language, program.state.scaleFactor, program.fonts},
                                 program.skins.images(SkinIds::skinSet(SkinDialog::Progress, 0)),
                                 [] { return 0; });
                             searching.exec();
                         });
                     }});
    cases.push_back({"OfflineOffer", 4, false, {}, [](StartedProgram &program) {
                         return secondsToFirstFrame([&] {
                             OfflineOffer::choose({program.state.language,
                                                   program.state.scaleFactor, program.fonts});
                         });
                     }});
    return cases;
}

bool openedInProcess = false;

void openFirst(benchmark::State &bench, const DialogCase &dialog)
{
    bench.SetLabel(openedInProcess ? "after other opens in this process" : "first in process");
    openedInProcess = true;
    for (auto _ : bench) {
        StartedProgram program(dialog.variant, dialog.mainWindow);
        if (!program.error().empty()) {
            bench.SkipWithError(program.error().c_str());
            break;
        }
        if (dialog.prepare)
            dialog.prepare(program);
        const double seconds = dialog.open(program);
        if (seconds < 0) {
            bench.SkipWithError("the dialog never painted");
            break;
        }
        bench.SetIterationTime(seconds);
    }
}

void openAgain(benchmark::State &bench, const DialogCase &dialog)
{
    openedInProcess = true;
    StartedProgram program(dialog.variant, dialog.mainWindow);
    if (!program.error().empty()) {
        bench.SkipWithError(program.error().c_str());
        return;
    }
    if (dialog.prepare)
        dialog.prepare(program);
    if (dialog.open(program) < 0) {
        bench.SkipWithError("the dialog never painted");
        return;
    }
    for (auto _ : bench) {
        const double seconds = dialog.open(program);
        if (seconds < 0) {
            bench.SkipWithError("the dialog never painted");
            break;
        }
        bench.SetIterationTime(seconds);
    }
}

void registerCases()
{
    for (const DialogCase &dialog : dialogCases()) {
        benchmark::RegisterBenchmark(("BM_OpenFirst/" + dialog.name).c_str(), openFirst, dialog)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        // A fixed count: the progress dialog's job takes a while to end after each.
        benchmark::RegisterBenchmark(("BM_OpenAgain/" + dialog.name).c_str(), openAgain, dialog)
            ->UseManualTime()
            ->Iterations(10)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

// The application lives in main(), so that it ends before the statics Qt's own end needs.
int main(int argc, char *argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
