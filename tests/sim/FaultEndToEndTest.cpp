#include "EndToEndSupport.h"

#include "sim/SimConstants.h"

#include <chrono>
#include <functional>

using namespace quillosim;
using namespace std::chrono_literals;
using simtest::EndToEnd;
using Clock = std::chrono::steady_clock;

namespace {

// Exactly the sizes the facade's callers promise, on the heap, so that the sanitizer sees a
// write one element past them.
struct Buffers {
    std::vector<int> lights = std::vector<int>(LightAreaSize, 9);
    std::vector<int> counters = std::vector<int>(KeyCount);
    std::vector<wchar_t> version = std::vector<wchar_t>(62);
    std::string firmware = firmwareText(200); // 202 records
};

struct Exchange {
    const char *name;
    std::function<bool(CNuboHWI &, Buffers &)> run;
};

const Exchange writeKeys{"write keys", [](CNuboHWI &f, Buffers &) {
                             return f.writeKeyConfigurationToDev(nullptr);
                         }};
const Exchange readKeys{"read keys", [](CNuboHWI &f, Buffers &) {
                            return f.readKeyDefinationFromDev(nullptr);
                        }};
const Exchange writeLights{"write lights", [](CNuboHWI &f, Buffers &b) {
                               return f.setKeyboardLightArea(b.lights.data());
                           }};
const Exchange readLights{"read lights", [](CNuboHWI &f, Buffers &) {
                              return f.readKeyLightFromDev();
                          }};
const Exchange readCounters{"read counters", [](CNuboHWI &f, Buffers &b) {
                                return f.getPressCounterFromDev(b.counters.data());
                            }};
const Exchange readVersion{"read version", [](CNuboHWI &f, Buffers &b) {
                               return f.ReadKeyboardVersion(b.version.data());
                           }};
const Exchange firmware{"firmware", [](CNuboHWI &f, Buffers &b) {
                            return f.WriteFirmwareToKeyboard(b.firmware.data(),
                                                             int(b.firmware.size()), nullptr);
                        }};

struct FaultCase {
    const char *name;
    SimFaults faults;
    std::vector<Exchange> exchanges;
};

} // namespace

class FaultModes : public EndToEnd {
protected:
    // Runs `exchange` against a keyboard showing `faults`: it must fail within the library's
    // timeout, and once the fault is gone the same facade, reopened, must work again.
    void expectFailure(const char *fault, const SimFaults &faults, const Exchange &exchange)
    {
        SCOPED_TRACE(std::string(fault) + ", " + exchange.name);
        attach(4);
        keyboard->setReadWaitLimit(100ms);
        CNuboHWI facade;
        ASSERT_TRUE(facade.__createDev());
        Buffers buffers;

        keyboard->setFaults(faults);
        const auto start = Clock::now();
        EXPECT_FALSE(exchange.run(facade, buffers));
        EXPECT_LT(Clock::now() - start, 5000ms);

        keyboard->setFaults({});
        keyboard->plugIn();
        ASSERT_TRUE(facade.__closeDev());
        ASSERT_TRUE(facade.__createDev());
        EXPECT_TRUE(exchange.run(facade, buffers));
    }
};

TEST_F(FaultModes, UnpluggingEndsEveryExchange)
{
    const std::vector<FaultCase> cases = {
        {"write 1 fails",
         {.failWriteAt = 1},
         {writeKeys, readKeys, writeLights, readLights, readCounters, readVersion, firmware}},
        {"write 2 fails", {.failWriteAt = 2}, {writeKeys, writeLights, firmware}},
        {"write 150 fails", {.failWriteAt = 150}, {writeKeys, firmware}},
        {"the end report fails", {.failWriteAt = 218}, {writeKeys}},
        {"the last light report fails", {.failWriteAt = 8}, {writeLights}},
        {"the end-of-file record fails", {.failWriteAt = 202}, {firmware}},
        {"read 1 fails", {.failReadAt = 1}, {readKeys, readLights, readCounters, readVersion}},
        {"read 100 fails", {.failReadAt = 100}, {readKeys}},
        {"the end marker's read fails", {.failReadAt = 217}, {readKeys}},
        {"the light end's read fails", {.failReadAt = 7}, {readLights}},
        {"the counter end's read fails", {.failReadAt = 9}, {readCounters}},
    };
    for (const FaultCase &fault : cases) {
        for (const Exchange &exchange : fault.exchanges)
            expectFailure(fault.name, fault.faults, exchange);
    }
}

TEST_F(FaultModes, KeyboardsThatAnswerBadlyEndEveryReadWithFalse)
{
    const std::vector<Exchange> reads = {readKeys, readLights, readCounters};
    const std::vector<FaultCase> cases = {
        {"silent", {.silent = true}, {readKeys, readLights, readCounters, readVersion}},
        {"no end marker", {.noEndMarker = true}, reads},
        {"garbage", {.garbage = true}, reads},
        {"oversize, no end marker", {.noEndMarker = true, .oversize = true}, reads},
        {"foreign records, no end marker", {.noEndMarker = true, .foreignRecords = true}, reads},
        {"busy", {.versionBusy = true}, {readVersion}},
    };
    for (const FaultCase &fault : cases) {
        for (const Exchange &exchange : fault.exchanges)
            expectFailure(fault.name, fault.faults, exchange);
    }
}

TEST_F(FaultModes, FirmwareCutOffInstallsNothing)
{
    CNuboHWI facade;
    ASSERT_TRUE(facade.__createDev());
    keyboard->setFaults({.failWriteAt = 100});
    Buffers buffers;
    EXPECT_FALSE(firmware.run(facade, buffers));
    EXPECT_EQ(keyboard->firmwareUpdates(), 0);
    EXPECT_EQ(keyboard->failedFirmwareUpdates(), 1);
    EXPECT_TRUE(keyboard->firmwareImage().empty());
}

TEST_F(FaultModes, OversizeAndForeignAnswersAreSkippedSafely)
{
    // Answers the library must bound or skip, each followed by the real data and the end: the
    // images come out exactly as the keyboard holds them. Key records claiming more codes than
    // a report holds are damaged, not skipped: the key read fails even though proper records
    // for the same keys follow.
    for (const SimFaults &faults :
         {SimFaults{.oversize = true}, SimFaults{.foreignRecords = true}}) {
        attach(1);
        CNuboHWI reference;
        ASSERT_TRUE(reference.__createDev());
        ASSERT_TRUE(reference.readKeyDefinationFromDev(nullptr));

        CNuboHWI facade;
        ASSERT_TRUE(facade.__createDev());
        keyboard->setFaults(faults);
        Buffers buffers;
        EXPECT_EQ(facade.readKeyDefinationFromDev(nullptr), !faults.oversize);
        std::vector<int> got(128), want(128);
        for (int slot = 0; slot < SlotCount && !faults.oversize; ++slot) {
            std::fill(got.begin(), got.end(), 0);
            std::fill(want.begin(), want.end(), 0);
            const int layer = slot / KeyCount, key = slot % KeyCount + 1;
            ASSERT_TRUE(facade.getKeyConfiguration(layer, key, got.data(), int(got.size())));
            ASSERT_TRUE(reference.getKeyConfiguration(layer, key, want.data(), int(want.size())));
            EXPECT_EQ(got, want) << "slot " << slot;
        }

        const KeyboardMemory memory = keyboard->memory();
        EXPECT_TRUE(facade.readKeyLightFromDev());
        ASSERT_TRUE(facade.getKeyboardLightArea(buffers.lights.data()));
        EXPECT_TRUE(
            std::equal(buffers.lights.begin(), buffers.lights.end(), memory.lights.begin()));
        EXPECT_TRUE(facade.getPressCounterFromDev(buffers.counters.data()));
        EXPECT_TRUE(
            std::equal(buffers.counters.begin(), buffers.counters.end(), memory.counters.begin()));
        EXPECT_TRUE(facade.ReadKeyboardVersion(buffers.version.data()));
    }
}

TEST_F(FaultModes, SilentKeyboardTimesOutWithinTheLibraryTimeout)
{
    // No wait limit: the library's own timeout ends the exchange.
    CNuboHWI facade;
    ASSERT_TRUE(facade.__createDev());
    keyboard->setFaults({.silent = true});
    const auto start = Clock::now();
    EXPECT_FALSE(facade.readKeyLightFromDev());
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 4000ms);
    EXPECT_LT(elapsed, 7000ms);
}
