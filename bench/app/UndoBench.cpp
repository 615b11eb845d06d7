// Undo and redo of configuration changes on the largest configuration the program holds
// (every key a macro of 799 steps, each predefined list 50 such entries).
#include "model/AppState.h"
#include "model/ConfigHistory.h"
#include "model/KeyMapChange.h"
#include "profile/ProfileFile.h"

#include "../profile/ProfileFixture.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <malloc.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

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

// The state of the first such command after a large configuration was loaded: the memory of
// earlier copies is back with the system, so that the copy takes its pages fresh, and the
// configuration is out of the processor's caches. Copying the same lists again and again into
// recycled memory from the caches takes a fifth of the time a user waits for.
void coldStart()
{
    malloc_trim(0);
    static std::vector<std::uint64_t> other(std::size_t(96) << 17); // 96 MiB
    std::uint64_t sum = 0;
    for (std::uint64_t &word : other)
        sum += word++;
    benchmark::DoNotOptimize(sum);
}

// What Clear, Open and Load of the largest configuration cost the user-interface thread to
// record as an undo step: the copy of what the change replaces and the step's keeping, as
// those commands do it. The change itself is not counted; the history holds no other step.
// Each iteration then undoes the step, outside the measure, to start from the largest
// configuration again.
void BM_UndoRecordClear(benchmark::State &bench)
{
    const auto state = benchConfiguration(true);
    for (auto _ : bench) {
        coldStart();
        // As the main window's Clear does it.
        Clock::duration change{};
        const Clock::time_point begin = Clock::now();
        state->history.edit(*state, ConfigHistory::Change::Clear,
                            ConfigHistory::Scope::everything(), [&] {
                                const Clock::time_point reset = Clock::now();
                                state->resetKeyModel();
                                change = Clock::now() - reset;
                            });
        bench.SetIterationTime(
            std::chrono::duration<double>(Clock::now() - begin - change).count());
        state->history.undo(*state, state->notWritten);
        state->history.reset();
    }
}
BENCHMARK(BM_UndoRecordClear)->UseManualTime()->Unit(benchmark::kMillisecond);

// `change` between the copy and the step, as opening a profile and Load do it; a change that
// fails ends the benchmark.
template<typename Change>
void recordAround(benchmark::State &bench, AppState &state, ConfigHistory::Change kind,
                  const ConfigHistory::Scope &scope, Change &&change)
{
    for (auto _ : bench) {
        coldStart();
        const Clock::time_point begin = Clock::now();
        ConfigHistory::Before before = ConfigHistory::capture(state, scope);
        const Clock::time_point captured = Clock::now();
        if (!change()) {
            bench.SkipWithError("the change failed");
            break;
        }
        const Clock::time_point changed = Clock::now();
        state.history.record(kind, std::move(before));
        bench.SetIterationTime(
            std::chrono::duration<double>((captured - begin) + (Clock::now() - changed)).count());
        state.history.undo(state, state.notWritten);
        state.history.reset();
    }
}

void BM_UndoRecordOpen(benchmark::State &bench)
{
    const auto state = benchConfiguration(true);
    std::filesystem::path reset, pugi;
    prepareProfileFiles(false, reset, pugi);
    recordAround(bench, *state, ConfigHistory::Change::Open, ConfigHistory::Scope::everything(),
                 [&] {
                     return readProfile(*state, state->pressCounters, state->deviceType, reset)
                            == ProfileReadResult::Ok;
                 });
}
BENCHMARK(BM_UndoRecordOpen)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_UndoRecordLoad(benchmark::State &bench)
{
    const auto state = benchConfiguration(true);
    const auto read = benchConfiguration(false);
    // What the keyboard sends back: keys and lights, the lists stay.
    recordAround(bench, *state, ConfigHistory::Change::Load, ConfigHistory::Scope::keysAndLights(),
                 [&] {
                     state->category = read->category;
                     state->code = read->code;
                     state->action = read->action;
                     state->lightSettings = read->lightSettings;
                     return true;
                 });
}
BENCHMARK(BM_UndoRecordLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

// What a key confirmed after undoing the Open of the largest configuration costs to record:
// the step it drops is the only holder of every list that Open brought, which are freed then.
void BM_UndoDropOpened(benchmark::State &bench)
{
    const auto state = benchConfiguration(false);
    for (auto _ : bench) {
        {
            auto opened = benchConfiguration(true);
            ConfigHistory::Before before
                = ConfigHistory::capture(*state, ConfigHistory::Scope::everything());
            state->predefinedCombos = std::move(opened->predefinedCombos);
            state->predefinedMacros = std::move(opened->predefinedMacros);
            state->predefinedEmulations = std::move(opened->predefinedEmulations);
            state->action = std::move(opened->action);
            state->history.record(ConfigHistory::Change::Open, std::move(before));
            state->history.undo(*state, state->notWritten);
        }
        coldStart();
        KeyMapChange change;
        change.key = 30;
        change.layer = 0;
        change.assignment = {KeyAssignment::Multimedia, 110, {}};
        const Clock::time_point begin = Clock::now();
        ConfigHistory::Before before = ConfigHistory::capture(*state, change);
        change.applyTo(*state);
        state->history.record(ConfigHistory::Change::KeySettings, std::move(before));
        bench.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
        state->history.reset();
    }
}
BENCHMARK(BM_UndoDropOpened)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
