// Loading and saving a profile with our markup document against pugixml doing the same work:
// parse and walk into the configuration, build and write the file.
#include "ProfileFixture.h"
#include "PugiProfile.h"

#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

void BM_Load(benchmark::State &bench)
{
    const bool maximal = bench.range(0);
    fs::path ours, theirs;
    prepareProfileFiles(maximal, ours, theirs);
    auto state = benchConfiguration(false);
    for (auto _ : bench) {
        const auto result = readProfile(*state, state->pressCounters, state->deviceType, ours);
        benchmark::DoNotOptimize(result);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(ours)));
}

void BM_LoadPugixml(benchmark::State &bench)
{
    const bool maximal = bench.range(0);
    fs::path ours, theirs;
    prepareProfileFiles(maximal, ours, theirs);
    auto state = benchConfiguration(false);
    for (auto _ : bench) {
        const bool ok = pugiReadProfile(*state, theirs);
        benchmark::DoNotOptimize(ok);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(theirs)));
}

void BM_Save(benchmark::State &bench)
{
    const auto state = benchConfiguration(bench.range(0));
    const fs::path file = benchScratch("quillo-bench-save.pro");
    for (auto _ : bench) {
        const bool ok = writeProfile(*state, state->deviceType, file);
        benchmark::DoNotOptimize(ok);
    }
    bench.SetBytesProcessed(std::int64_t(bench.iterations()) * std::int64_t(fs::file_size(file)));
    fs::remove(file);
}

// Argument 1 flushes the file to the disk, which our save always does so that a crash can
// never leave a half-written profile.
void BM_SavePugixml(benchmark::State &bench)
{
    const auto state = benchConfiguration(bench.range(0));
    const fs::path file = benchScratch("quillo-bench-save-pugi.pro");
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
