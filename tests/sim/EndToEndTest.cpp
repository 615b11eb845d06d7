#include "EndToEndSupport.h"

#include "sim/SimConstants.h"

#include <algorithm>
#include <numeric>

using namespace quillosim;
using simtest::EndToEnd;

namespace {

// Payloads of the reports between a command and its end marker, as the trace saw them.
std::vector<Report> recordsAfter(const std::vector<TraceEntry> &trace,
                                 TraceEntry::Direction direction, std::uint8_t command)
{
    std::vector<Report> records;
    bool inside = false;
    for (const TraceEntry &entry : trace) {
        if (entry.direction == TraceEntry::Direction::Written && entry.bytes[2] == command
            && entry.bytes[1] == 0) {
            inside = true;
            continue;
        }
        if (!inside || entry.direction != direction)
            continue;
        const std::size_t skip = direction == TraceEntry::Direction::Written ? 1 : 0;
        Report payload(entry.bytes.begin() + std::ptrdiff_t(skip), entry.bytes.end());
        if (payload[1] == 0xF6 || payload[0] == 0xF6)
            break;
        records.push_back(std::move(payload));
    }
    return records;
}

} // namespace

TEST_F(EndToEnd, DiscoveryFindsTheKeyboardBehindDecoys)
{
    for (int variant = 1; variant <= 4; ++variant) {
        attach(variant);
        CNuboHWI facade;
        EXPECT_TRUE(facade.DetectDevice());
        EXPECT_EQ(facade.DetectDeviceType(), variant);
        ASSERT_TRUE(facade.__createDev());
        ASSERT_TRUE(facade.__createDev());
        const std::vector<std::wstring> paths = backend->interfacePaths();
        for (const std::wstring &path : paths)
            EXPECT_EQ(backend->openCount(path), path == backend->keyboardPath(0) ? 1 : 0);
    }
    keyboard->unplug();
    CNuboHWI facade;
    EXPECT_FALSE(facade.DetectDevice());
    EXPECT_EQ(facade.DetectDeviceType(), 0);
    EXPECT_FALSE(facade.__createDev());
}

TEST_F(EndToEnd, EveryKeyOnBothLayersRoundTrips)
{
    simtest::ProgressLog progress;
    {
        CNuboHWI writer;
        ASSERT_TRUE(writer.__createDev());
        ASSERT_TRUE(writer.prepare());
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::vector<int> config = simtest::configurationFor(slot);
            ASSERT_TRUE(writer.setKeyConfiguration(slot / KeyCount, slot % KeyCount + 1,
                                                   config.data(), int(config.size())))
                << "slot " << slot;
        }
        ASSERT_TRUE(writer.writeKeyConfigurationToDev(&progress));
    }
    std::vector<int> slots(SlotCount);
    std::iota(slots.begin(), slots.end(), 0);
    EXPECT_EQ(progress.values(), slots);
    const KeyboardMemory memory = keyboard->memory();
    EXPECT_EQ(memory.records[5].size(), 64u * 31);     // 1600 bytes in 53-byte blocks
    EXPECT_EQ(memory.records[215].size(), 64u * 1237); // 65535 bytes

    CNuboHWI reader;
    ASSERT_TRUE(reader.__createDev());
    ASSERT_TRUE(reader.readKeyDefinationFromDev(nullptr));
    constexpr int untouched = -7;
    std::vector<int> out(70000);
    for (int slot = 0; slot < SlotCount; ++slot) {
        std::fill(out.begin(), out.end(), untouched);
        ASSERT_TRUE(reader.getKeyConfiguration(slot / KeyCount, slot % KeyCount + 1, out.data(),
                                               int(out.size())));
        const std::vector<int> expected
            = simtest::expectedReadBack(simtest::configurationFor(slot), untouched);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin())) << "slot " << slot;
        EXPECT_EQ(out[expected.size()], untouched) << "slot " << slot;
    }

    // The keyboard sent back exactly the reports it was sent.
    const std::vector<TraceEntry> trace = keyboard->trace();
    const std::vector<Report> written = recordsAfter(trace, TraceEntry::Direction::Written, 0xF1);
    const std::vector<Report> read = recordsAfter(trace, TraceEntry::Direction::Read, 0xF2);
    EXPECT_GT(written.size(), 1237u + 215);
    EXPECT_TRUE(written == read);
}

TEST_F(EndToEnd, LightsAndCountersTravelBothWays)
{
    CNuboHWI facade;
    ASSERT_TRUE(facade.__createDev());
    int values[LightAreaSize];
    ASSERT_TRUE(facade.readKeyLightFromDev());
    ASSERT_TRUE(facade.getKeyboardLightArea(values));
    const KeyboardMemory factory = keyboard->memory();
    EXPECT_TRUE(std::equal(std::begin(values), std::end(values), factory.lights.begin()));

    for (int i = 0; i < LightAreaSize; ++i)
        values[i] = (i * 37 + 11) % 256;
    ASSERT_TRUE(facade.setKeyboardLightArea(values));
    EXPECT_TRUE(
        std::equal(std::begin(values), std::end(values), keyboard->memory().lights.begin()));

    CNuboHWI fresh;
    ASSERT_TRUE(fresh.__createDev());
    int readBack[LightAreaSize] = {};
    ASSERT_TRUE(fresh.readKeyLightFromDev());
    ASSERT_TRUE(fresh.getKeyboardLightArea(readBack));
    EXPECT_TRUE(std::equal(std::begin(values), std::end(values), std::begin(readBack)));

    int counters[KeyCount] = {};
    ASSERT_TRUE(fresh.getPressCounterFromDev(counters));
    EXPECT_TRUE(std::equal(std::begin(counters), std::end(counters), factory.counters.begin()));
    KeyboardMemory memory = keyboard->memory();
    memory.counters.fill(0);
    memory.counters[2] = 70000;
    memory.counters[106] = 1;
    keyboard->setMemory(memory);
    ASSERT_TRUE(fresh.getPressCounterFromDev(counters));
    EXPECT_EQ(counters[2], 70000);
    EXPECT_EQ(counters[106], 1);
    EXPECT_EQ(std::count(std::begin(counters), std::end(counters), 0), KeyCount - 2);
}

TEST_F(EndToEnd, VersionAndFirmware)
{
    CNuboHWI facade;
    ASSERT_TRUE(facade.__createDev());
    wchar_t text[64] = {};
    ASSERT_TRUE(facade.ReadKeyboardVersion(text));
    EXPECT_EQ(std::wstring(text), L"V1.0");
    EXPECT_EQ(std::wstring(facade.getHardwareVersion()), L"V1.0");

    std::string image = firmwareText(200);
    simtest::ProgressLog progress;
    ASSERT_TRUE(facade.WriteFirmwareToKeyboard(image.data(), int(image.size()), &progress));
    EXPECT_EQ(keyboard->firmwareUpdates(), 1);
    EXPECT_EQ(keyboard->failedFirmwareUpdates(), 0);
    EXPECT_EQ(keyboard->rejectedFirmwareRecords(), 0);
    const FirmwareImage installed = keyboard->firmwareImage();
    EXPECT_EQ(installed.size(), 200u * 16);
    EXPECT_EQ(installed.byteAt(0x08000000 + 199 * 16 + 15), (199 + 45) & 0xFF);
    ASSERT_FALSE(progress.values().empty());
    EXPECT_EQ(progress.values().back(), 150);

    // A text with a broken record is refused before anything is sent.
    const int records = keyboard->stats().firmwareRecords;
    std::string broken = image;
    broken[20] = broken[20] == '0' ? '1' : '0';
    EXPECT_FALSE(facade.WriteFirmwareToKeyboard(broken.data(), int(broken.size()), nullptr));
    EXPECT_EQ(keyboard->stats().firmwareRecords, records);
    EXPECT_EQ(keyboard->firmwareUpdates(), 1);
}
