// Encoding, decoding and full transfers of the largest key configurations, in CPU time per
// 64-byte report: the budget is 10 us, 1% of a full-speed HID endpoint's 1 ms interval.
#include "device/src/CContinousKeyDefine.h"
#include "device/src/CMacroKeyDefine.h"
#include "device/src/CNormalKeyDefine.h"
#include "device/src/CNubo.h"

#include <quillodev/CKeyboardUtil.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

enum Kind { Normal, Continuous, Macro };

std::unique_ptr<CKeyDefine> maximalRecord(Kind kind, int slot)
{
    const int layer = slot / CNubo::KeyCount + 1;
    const int key = slot % CNubo::KeyCount + 1;
    if (kind == Normal) {
        auto r = std::make_unique<CNormalKeyDefine>(key, layer);
        r->count = CNormalKeyDefine::MaxCodes;
        r->codes.assign(size_t(r->count), 0x04);
        return r;
    }
    if (kind == Continuous) {
        auto r = std::make_unique<CContinousKeyDefine>(key, layer);
        r->interval = 1000;
        r->count = CContinousKeyDefine::MaxCodes;
        r->codes.assign(size_t(r->count), 0x04);
        return r;
    }
    // The longest macro: 16383 entries with delays, 65532 bytes in 1237 blocks.
    auto r = std::make_unique<CMacroKeyDefine>(key, layer, 2);
    r->hasDelays = 1;
    r->cycles = 3;
    r->count = CMacroKeyDefine::MaxDataLength / 4;
    r->codes.assign(size_t(r->count), 0x04);
    r->delays.assign(size_t(r->count), 30);
    return r;
}

void fill(CNubo &nubo, Kind kind)
{
    for (int slot = 0; slot < CNubo::SlotCount; ++slot)
        nubo.setRecord(slot, maximalRecord(kind, slot));
}

// Takes every report at once and answers reads from a prepared script.
class InstantTransport : public CKeyboardUtil {
public:
    bool writeReport(const unsigned char *report, unsigned int length) override
    {
        std::memcpy(last, report, std::min<size_t>(length, sizeof last));
        ++writes;
        return true;
    }
    bool readReport(unsigned char *buffer, unsigned int &length, int) override
    {
        if (cursor >= script.size())
            return false;
        std::memcpy(buffer, script[cursor++].data(), std::min<size_t>(length, 64));
        return true;
    }

    std::vector<std::array<unsigned char, 64>> script;
    size_t cursor = 0;
    unsigned char last[65] = {};
    long writes = 0;
};

void perReport(benchmark::State &state, long reports)
{
    state.counters["per_report"]
        = benchmark::Counter(double(reports), benchmark::Counter::kIsIterationInvariantRate
                                                  | benchmark::Counter::kInvert);
    state.counters["reports"] = double(reports);
}

void BM_EncodeDecodeAllSlots(benchmark::State &state)
{
    const Kind kind = Kind(state.range(0));
    CNubo nubo(nullptr);
    fill(nubo, kind);
    std::vector<unsigned char> buffer;
    long reports = 0;
    for (auto _ : state) {
        reports = 0;
        for (int slot = 0; slot < CNubo::SlotCount; ++slot) {
            CKeyDefine *record = nubo.DefinitionTable[size_t(slot)].get();
            int size = 0;
            record->toDeviceBytes(nullptr, 64, size, nullptr);
            buffer.assign(size_t(size), 0);
            record->toDeviceBytes(buffer.data(), 64, size, nullptr);
            std::unique_ptr<CKeyDefine> back = maximalRecord(kind, slot);
            back->fromDeviceBytes(buffer.data(), 64, size);
            benchmark::DoNotOptimize(back.get());
            reports += size / 64;
        }
    }
    perReport(state, reports);
}
BENCHMARK(BM_EncodeDecodeAllSlots)
    ->Arg(Normal)
    ->Arg(Continuous)
    ->Arg(Macro)
    ->Unit(benchmark::kMillisecond);

void BM_WriteFullConfiguration(benchmark::State &state)
{
    InstantTransport transport;
    CNubo nubo(&transport);
    fill(nubo, Kind(state.range(0)));
    for (auto _ : state) {
        transport.writes = 0;
        if (!nubo.writeKeyDefinitions(nullptr))
            state.SkipWithError("write failed");
    }
    perReport(state, transport.writes);
}
BENCHMARK(BM_WriteFullConfiguration)
    ->Arg(Normal)
    ->Arg(Continuous)
    ->Arg(Macro)
    ->Unit(benchmark::kMillisecond);

void BM_ReadFullConfiguration(benchmark::State &state)
{
    // The script is what the keyboard sends back for the same configuration.
    class Recording : public CKeyboardUtil {
    public:
        bool writeReport(const unsigned char *report, unsigned int) override
        {
            std::array<unsigned char, 64> payload;
            std::memcpy(payload.data(), report + 1, 64);
            if (payload[1] == 0xF0)
                reports.push_back(payload);
            return true;
        }
        bool readReport(unsigned char *, unsigned int &, int) override { return false; }
        std::vector<std::array<unsigned char, 64>> reports;
    } recording;
    CNubo writer(&recording);
    fill(writer, Kind(state.range(0)));
    writer.writeKeyDefinitions(nullptr);

    InstantTransport transport;
    transport.script = recording.reports;
    std::array<unsigned char, 64> end{};
    end[0] = 0xF6;
    transport.script.push_back(end);
    CNubo nubo(&transport);
    for (auto _ : state) {
        transport.cursor = 0;
        if (!nubo.readKeyDefinitions(nullptr))
            state.SkipWithError("read failed");
    }
    perReport(state, long(transport.script.size()));
}
BENCHMARK(BM_ReadFullConfiguration)
    ->Arg(Normal)
    ->Arg(Continuous)
    ->Arg(Macro)
    ->Unit(benchmark::kMillisecond);

} // namespace
