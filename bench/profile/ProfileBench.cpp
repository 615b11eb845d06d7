// Loading and saving a profile with our markup document against pugixml doing the same work:
// parse and walk into the configuration, build and write the file.
#include "PugiProfile.h"

#include "app/AppState.h"
#include "profile/ProfileFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

ActionList macroOfSteps(int steps)
{
    ActionList macro(9);
    const char *texts[] = {"LSHIFT Down", "<30 ms>", "A Down", "A UP", "LSHIFT UP"};
    for (int i = 0; i < steps; ++i) {
        macro.names.emplace_back(texts[i % 5]);
        macro.items.emplace_back(9);
    }
    macro.times = 2;
    return macro;
}

// Every key on both layers a macro of 799 steps; each predefined list 50 entries of as many.
void makeMaximal(AppState &state)
{
    const ActionList macro = macroOfSteps(799);
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const auto i = std::size_t(AppState::index(key, layer));
            state.category[i] = 3;
            state.code[i] = 0;
            state.action[i] = macro;
        }
        state.lightSettings[std::size_t(key)] = {key, 255 - key, key * 2};
    }
    for (ActionList *list :
         {&state.predefinedCombos, &state.predefinedMacros, &state.predefinedEmulations}) {
        for (int n = 0; n < 50; ++n) {
            list->names.push_back("entry " + std::to_string(n) + " & <more>");
            list->items.push_back(macro);
        }
    }
}

std::unique_ptr<AppState> configuration(bool maximal)
{
    auto state = std::make_unique<AppState>();
    state->deviceType = 1;
    state->resetKeyModel();
    if (maximal)
        makeMaximal(*state);
    return state;
}

fs::path scratch(const char *name)
{
    return fs::temp_directory_path() / name;
}

// Our file and a copy whose root pugixml accepts.
void prepareFiles(bool maximal, fs::path &ours, fs::path &theirs)
{
    ours = scratch(maximal ? "quillo-bench-max.pro" : "quillo-bench-reset.pro");
    theirs = scratch(maximal ? "quillo-bench-max-pugi.pro" : "quillo-bench-reset-pugi.pro");
    const auto state = configuration(maximal);
    writeProfile(*state, ours);
    std::ifstream in(ours, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    for (const std::string from : {"<Quillo(RGB)BLe>", "</Quillo(RGB)BLe>"}) {
        const auto at = text.find(from);
        text.replace(at, from.size(), from[1] == '/' ? "</Profile>" : "<Profile>");
    }
    std::ofstream(theirs, std::ios::binary) << text;
}

void BM_Load(benchmark::State &bench)
{
    const bool maximal = bench.range(0);
    fs::path ours, theirs;
    prepareFiles(maximal, ours, theirs);
    auto state = configuration(false);
    for (auto _ : bench) {
        const auto result = readProfile(*state, ours);
        benchmark::DoNotOptimize(result);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(ours)));
}

void BM_LoadPugixml(benchmark::State &bench)
{
    const bool maximal = bench.range(0);
    fs::path ours, theirs;
    prepareFiles(maximal, ours, theirs);
    auto state = configuration(false);
    for (auto _ : bench) {
        const bool ok = pugiReadProfile(*state, theirs);
        benchmark::DoNotOptimize(ok);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(theirs)));
}

void BM_Save(benchmark::State &bench)
{
    const auto state = configuration(bench.range(0));
    const fs::path file = scratch("quillo-bench-save.pro");
    for (auto _ : bench) {
        const bool ok = writeProfile(*state, file);
        benchmark::DoNotOptimize(ok);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(file)));
    fs::remove(file);
}

// Argument 1 flushes the file to the disk, which our save always does so that a crash can
// never leave a half-written profile.
void BM_SavePugixml(benchmark::State &bench)
{
    const auto state = configuration(bench.range(0));
    const fs::path file = scratch("quillo-bench-save-pugi.pro");
    for (auto _ : bench) {
        const bool ok = pugiWriteProfile(*state, file, bench.range(1));
        benchmark::DoNotOptimize(ok);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(file)));
    fs::remove(file);
}

} // namespace

// Argument 0: a reset configuration; 1: the maximal one.
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPugixml)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePugixml)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"maximal", "durable"})
    ->Unit(benchmark::kMillisecond);
