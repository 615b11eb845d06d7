#include "SimTestSupport.h"

#include "model/DefaultCodes.h"
#include "sim/SimKeyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace quillosim;
using simtest::payload;
using simtest::RawHost;

namespace {

// Blocks of a macro record for key 5 on the Fn layer: `length` data bytes, 53 per block.
std::vector<Report> macroBlocks(int length, std::uint8_t type = 2)
{
    std::vector<Report> blocks;
    for (int at = 0; at == 0 || at < length; at += 53) {
        Report block
            = payload({0x00, 0xF0, 2, 5, type, 3, 0, 0x01, 0x2C, length >> 8, length & 0xFF});
        for (int i = 0; i < 53 && at + i < length; ++i)
            block[std::size_t(11 + i)] = std::uint8_t(at + i + 1);
        blocks.push_back(block);
    }
    return blocks;
}

} // namespace

TEST(KeyboardProtocol, FactoryStateFollowsTheVariantDefaults)
{
    for (int variant = 1; variant <= 4; ++variant) {
        auto keyboard = SimKeyboard::create(variant);
        ASSERT_TRUE(keyboard);
        RawHost host(keyboard);
        ASSERT_TRUE(host.command(0xF2));
        const std::vector<Report> answers = host.readAll();
        ASSERT_EQ(answers.size(), 217u) << "variant " << variant;

        for (int slot = 0; slot < SlotCount; ++slot) {
            const int layer = slot / KeyCount + 1;
            const int key = slot % KeyCount + 1;
            const int code = DefaultCodes::code(variant, key, layer - 1);
            Report expected = payload({0x00, 0xF0, layer, key, 0, code ? 1 : 0, code});
            EXPECT_EQ(answers[std::size_t(slot)], expected)
                << "variant " << variant << " slot " << slot;
            EXPECT_EQ(keyboard->memory().records[std::size_t(slot)].empty(), code == 0);
        }
        EXPECT_EQ(answers.back()[0], 0xF6);
    }
    // Fn-layer functions of the RGB keyboards are missing on Quillo(S).
    EXPECT_FALSE(SimKeyboard::create(4)->memory().records[KeyCount + 10].empty());
    EXPECT_TRUE(SimKeyboard::create(3)->memory().records[KeyCount + 10].empty());
    EXPECT_FALSE(SimKeyboard::create(0));
    EXPECT_FALSE(SimKeyboard::create(5));
}

TEST(KeyboardProtocol, FactoryLightsAndCountersLookReal)
{
    const KeyboardMemory memory = SimKeyboard::create(1)->memory();
    for (int key = 0; key < KeyCount; ++key) {
        const auto *rgb = &memory.lights[std::size_t(3 * key)];
        EXPECT_GT(rgb[0] + rgb[1] + rgb[2], 120) << "key " << key + 1 << " is dark";
    }

    // Every key was pressed; Space leads and Pause trails, each alone.
    const auto &counts = memory.counters;
    EXPECT_TRUE(std::all_of(counts.begin(), counts.end(), [](std::uint32_t c) { return c > 0; }));
    const auto most = std::max_element(counts.begin(), counts.end());
    const auto least = std::min_element(counts.begin(), counts.end());
    EXPECT_EQ(most - counts.begin() + 1, 70);
    EXPECT_EQ(least - counts.begin() + 1, 77);
    EXPECT_EQ(std::count(counts.begin(), counts.end(), *most), 1);
    EXPECT_EQ(std::count(counts.begin(), counts.end(), *least), 1);
}

TEST(KeyboardProtocol, KeyRecordsComeBackByteForByte)
{
    auto keyboard = SimKeyboard::create(4);
    RawHost host(keyboard);
    const Report normal = payload({0x00, 0xF0, 1, 1, 0, 3, 4, 5, 6});
    const Report continuous = payload({0x00, 0xF0, 1, 108, 1, 0x01, 0xF4, 2, 9, 10});
    const std::vector<Report> macro = macroBlocks(120); // three blocks
    const Report shortMacro = payload({0x00, 0xF0, 2, 6, 4, 0, 0, 0, 0, 0, 53}, 0x11);

    ASSERT_TRUE(host.command(0xF1));
    ASSERT_TRUE(host.send(normal));
    ASSERT_TRUE(host.send(continuous));
    for (const Report &block : macro)
        ASSERT_TRUE(host.send(block));
    ASSERT_TRUE(host.send(shortMacro));
    // Records the keyboard has no place for.
    ASSERT_TRUE(host.send(payload({0x00, 0xF0, 3, 1, 0, 1, 4})));
    ASSERT_TRUE(host.send(payload({0x00, 0xF0, 1, 109, 0, 1, 4})));
    ASSERT_TRUE(host.send(payload({0x00, 0xF0, 1, 2, 5, 1, 4})));
    ASSERT_TRUE(host.send(payload({0x00, 0xF6}, 0xF6)));
    EXPECT_EQ(keyboard->stats().recordsRejected, 3);
    EXPECT_EQ(keyboard->stats().recordsStored, 4);

    const KeyboardMemory memory = keyboard->memory();
    EXPECT_EQ(memory.records[0], normal);
    EXPECT_EQ(memory.records[107], continuous);
    EXPECT_EQ(memory.records[KeyCount + 4].size(), 3u * 64);
    EXPECT_EQ(memory.records[KeyCount + 5], shortMacro);
    // Slots the host did not send keep what they had.
    EXPECT_EQ(memory.records[1], KeyboardMemory::factory(4).records[1]);

    ASSERT_TRUE(host.command(0xF2));
    const std::vector<Report> answers = host.readAll();
    ASSERT_EQ(answers.size(), 216u + 2 + 1);
    EXPECT_EQ(answers[0], normal);
    EXPECT_EQ(answers[107], continuous);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(answers[KeyCount + 4 + i], macro[i]);
    EXPECT_EQ(answers[KeyCount + 7], shortMacro);
}

TEST(KeyboardProtocol, BrokenMacroIsDroppedAndTheNextRecordStillCounts)
{
    auto keyboard = SimKeyboard::create(4);
    RawHost host(keyboard);
    const std::vector<Report> macro = macroBlocks(60);
    const Report intruder = payload({0x00, 0xF0, 1, 7, 0, 1, 9});

    ASSERT_TRUE(host.command(0xF1));
    ASSERT_TRUE(host.send(macro[0]));
    ASSERT_TRUE(host.send(intruder)); // not the macro's second block
    ASSERT_TRUE(host.send(macro[0]));
    ASSERT_TRUE(host.command(0xF2)); // the host gives up half way through the macro
    host.readAll();

    const KeyboardMemory memory = keyboard->memory();
    EXPECT_EQ(memory.records[6], intruder);
    EXPECT_EQ(memory.records[KeyCount + 4], KeyboardMemory::factory(4).records[KeyCount + 4]);
    EXPECT_EQ(keyboard->stats().recordsRejected, 2);
}

TEST(KeyboardProtocol, LightAreaTravelsInSixtyOneByteReports)
{
    auto keyboard = SimKeyboard::create(1);
    RawHost host(keyboard);
    std::array<std::uint8_t, LightAreaSize> lights;
    std::iota(lights.begin(), lights.end(), std::uint8_t(7));

    ASSERT_TRUE(host.command(0xE1));
    for (int at = 0; at < LightAreaSize; at += 61)
        ASSERT_TRUE(host.send(
            simtest::areaData(0xE0, lights.data() + at, std::min(61, LightAreaSize - at))));
    // Claims beyond what a report or the area holds are cut, not written past the area.
    ASSERT_TRUE(host.send(simtest::areaData(0xE0, lights.data(), 200)));
    ASSERT_TRUE(host.send(payload({}, 0xE6)));
    EXPECT_EQ(keyboard->memory().lights, lights);
    EXPECT_EQ(keyboard->stats().lightBytesDropped, 200);

    ASSERT_TRUE(host.command(0xE2));
    const std::vector<Report> answers = host.readAll();
    ASSERT_EQ(answers.size(), 7u);
    std::vector<std::uint8_t> joined;
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(answers[i][1], 0xE0);
        EXPECT_EQ(answers[i][2], i < 5 ? 61 : 19);
        joined.insert(joined.end(), answers[i].begin() + 3, answers[i].begin() + 3 + answers[i][2]);
    }
    EXPECT_TRUE(std::equal(joined.begin(), joined.end(), lights.begin(), lights.end()));
    EXPECT_EQ(answers[6][1], 0xE6);
}

TEST(KeyboardProtocol, CountersTravelLittleEndian)
{
    auto keyboard = SimKeyboard::create(2);
    KeyboardMemory memory = keyboard->memory();
    memory.counters[0] = 0x04030201;
    memory.counters[107] = 0xFFFFFFFF;
    keyboard->setMemory(memory);

    RawHost host(keyboard);
    ASSERT_TRUE(host.command(0xE3));
    const std::vector<Report> answers = host.readAll();
    ASSERT_EQ(answers.size(), 9u); // 7 × 61 + 5 bytes, then the end
    std::vector<std::uint8_t> joined;
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(answers[i][1], 0xE3);
        joined.insert(joined.end(), answers[i].begin() + 3, answers[i].begin() + 3 + answers[i][2]);
    }
    ASSERT_EQ(joined.size(), 432u);
    EXPECT_EQ(answers[8][1], 0xE6);
    EXPECT_EQ((std::vector<std::uint8_t>(joined.begin(), joined.begin() + 4)),
              (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_TRUE(
        std::all_of(joined.end() - 4, joined.end(), [](std::uint8_t b) { return b == 0xFF; }));
    for (int key = 1; key < 107; ++key) {
        const std::uint8_t *c = joined.data() + 4 * key;
        EXPECT_EQ(std::uint32_t(c[0] | c[1] << 8 | c[2] << 16 | c[3] << 24),
                  memory.counters[std::size_t(key)]);
    }
}

TEST(KeyboardProtocol, VersionTextFillsPayloadBytesTwoOn)
{
    auto keyboard = SimKeyboard::create(3);
    SimTransport transport(keyboard);
    wchar_t text[64] = {};
    ASSERT_TRUE(transport.readVersion(text));
    EXPECT_EQ(std::wstring(text), L"V1.0");

    // A longer text than the answer holds is cut at 62 characters.
    KeyboardMemory memory = keyboard->memory();
    memory.version = std::string(80, 'x');
    keyboard->setMemory(memory);
    RawHost host(keyboard);
    ASSERT_TRUE(host.command(0xF9));
    const std::vector<Report> answers = host.readAll();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][1], 0xF9);
    EXPECT_TRUE(std::all_of(answers[0].begin() + 2, answers[0].end(),
                            [](std::uint8_t b) { return b == 'x'; }));
}

TEST(KeyboardProtocol, StrayReportsAreIgnoredAndCounted)
{
    auto keyboard = SimKeyboard::create(4);
    RawHost host(keyboard);
    ASSERT_TRUE(host.send(payload({0x00, 0x42})));
    ASSERT_TRUE(host.send(payload({0x00, 0xF0, 1, 1, 0, 1, 4}))); // a record outside a write
    ASSERT_TRUE(host.command(0xE1));
    ASSERT_TRUE(host.send(payload({0x00, 0xF0, 1, 1})));
    EXPECT_TRUE(host.readAll(0).empty());
    EXPECT_EQ(keyboard->stats().ignoredReports, 3);
    EXPECT_EQ(keyboard->memory().records[0], KeyboardMemory::factory(4).records[0]);

    // Reports of the wrong size or report number never reach the keyboard.
    unsigned char report[80] = {};
    report[2] = 0xF9;
    EXPECT_FALSE(host.transport.writeReport(report, 64));
    EXPECT_FALSE(host.transport.writeReport(report, 80));
    EXPECT_FALSE(host.transport.writeReport(nullptr, 65));
    report[0] = 1;
    EXPECT_FALSE(host.transport.writeReport(report, 65));
    EXPECT_EQ(keyboard->stats().writesRefused, 4);
    EXPECT_TRUE(host.readAll(0).empty());
}

TEST(KeyboardProtocol, NewCommandDropsAnswersNotYetRead)
{
    auto keyboard = SimKeyboard::create(4);
    RawHost host(keyboard);
    ASSERT_TRUE(host.command(0xF2));
    Report first(64);
    unsigned int length = 64;
    ASSERT_TRUE(host.transport.readReport(first.data(), length, 0));
    ASSERT_TRUE(host.command(0xE2));
    const std::vector<Report> answers = host.readAll();
    ASSERT_EQ(answers.size(), 7u);
    EXPECT_EQ(answers[0][1], 0xE0);
    EXPECT_EQ(keyboard->stats().answersDiscarded, 216);
}
