// Undo and redo of configuration changes on the largest configuration the program holds
// (every key a macro of 799 steps, each predefined list 50 such entries).
#include "model/AppState.h"
#include "model/ConfigHistory.h"
#include "model/KeyMapChange.h"

#include "../profile/ProfileFixture.h"

#include <benchmark/benchmark.h>

namespace {

// One step undone or redone, in turn: a key confirmed with an edited macro list.
void BM_UndoStepKeySettings(benchmark::State &bench)
{
    const auto state = benchConfiguration(true);
    KeyMapChange change;
    change.key = 30;
    change.layer = 1;
    change.assignment = {KeyAssignment::Macro, 0, state->predefinedMacros.items[3]};
    change.list = KeyMapChange::List::Macros;
    change.listValue = state->predefinedMacros;
    change.listValue.removeAt(0);
    ConfigHistory::Before before = ConfigHistory::capture(*state, change);
    change.applyTo(*state);
    state->history.record(ConfigHistory::Change::KeySettings, std::move(before));
    bool back = true;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(back ? state->history.undo(*state, state->notWritten)
                                      : state->history.redo(*state, state->notWritten));
        back = !back;
    }
}
BENCHMARK(BM_UndoStepKeySettings)->Unit(benchmark::kMillisecond);

// One step undone or redone, in turn: a profile opened over the whole configuration.
void BM_UndoStepOpen(benchmark::State &bench)
{
    const auto state = benchConfiguration(true);
    const auto other = benchConfiguration(false);
    ConfigHistory::Before before
        = ConfigHistory::capture(*state, ConfigHistory::Scope::everything());
    state->predefinedMacros = other->predefinedMacros;
    state->action = other->action;
    state->history.record(ConfigHistory::Change::Open, std::move(before));
    bool back = true;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(back ? state->history.undo(*state, state->notWritten)
                                      : state->history.redo(*state, state->notWritten));
        back = !back;
    }
}
BENCHMARK(BM_UndoStepOpen)->Unit(benchmark::kMillisecond);

// What recording such a step costs: the copy of everything it replaces (paid once, with
// the Open, Clear or Load it belongs to).
void BM_RecordWholeConfiguration(benchmark::State &bench)
{
    const auto state = benchConfiguration(true);
    for (auto _ : bench) {
        ConfigHistory::Before before
            = ConfigHistory::capture(*state, ConfigHistory::Scope::everything());
        benchmark::DoNotOptimize(&before);
    }
}
BENCHMARK(BM_RecordWholeConfiguration)->Unit(benchmark::kMillisecond);

} // namespace
