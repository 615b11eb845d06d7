#include "SimTestSupport.h"

#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace quillosim;
using namespace std::chrono_literals;
using simtest::payload;
using simtest::RawHost;
using Clock = std::chrono::steady_clock;

namespace {

bool readOne(SimTransport &transport, Report &into, int timeoutMs)
{
    into.assign(64, 0);
    unsigned int length = 64;
    const bool read = transport.readReport(into.data(), length, timeoutMs);
    into.resize(length);
    return read;
}

} // namespace

TEST(SimKeyboard, FailedWriteOrReadUnplugsUntilReconnected)
{
    auto keyboard = SimKeyboard::create(4);
    SimHidBackend backend(keyboard);
    const std::wstring path = backend.keyboardPath(0);
    EXPECT_EQ(path, L"sim:keyboard#vid_0483&pid_5330&mi_01");

    RawHost host(keyboard);
    keyboard->setFaults({.failWriteAt = 3});
    EXPECT_TRUE(host.command(0xF9));
    EXPECT_TRUE(host.command(0xF9));
    EXPECT_FALSE(host.command(0xF9));
    EXPECT_FALSE(keyboard->isPlugged());
    EXPECT_FALSE(host.command(0xF9));
    EXPECT_TRUE(host.readAll(0).empty());
    EXPECT_TRUE(backend.interfacePaths().empty());
    EXPECT_FALSE(backend.open(path));

    // The old handle stays dead; a new one works, and the keyboard kept its memory.
    keyboard->plugIn();
    EXPECT_FALSE(host.command(0xF9));
    auto transport = backend.open(path);
    ASSERT_TRUE(transport);
    wchar_t text[64] = {};
    EXPECT_TRUE(transport->readVersion(text));

    keyboard->setFaults({.failReadAt = 2});
    EXPECT_TRUE(transport->readVersion(text));
    EXPECT_FALSE(transport->readVersion(text));
    EXPECT_FALSE(keyboard->isPlugged());
    keyboard->plugIn();
    keyboard->setFaults({});
    EXPECT_EQ(keyboard->memory().records, KeyboardMemory::factory(4).records);
}

TEST(SimKeyboard, ReadsHonourTheirTimeout)
{
    auto keyboard = SimKeyboard::create(1);
    SimTransport transport(keyboard);
    Report answer;

    auto start = Clock::now();
    EXPECT_FALSE(readOne(transport, answer, 40));
    EXPECT_GE(Clock::now() - start, 40ms);

    // An answer written from another thread wakes the waiting read.
    std::thread writer([&] {
        std::this_thread::sleep_for(20ms);
        RawHost(keyboard).command(0xF9);
    });
    EXPECT_TRUE(readOne(transport, answer, 10000));
    writer.join();
    // The writer's handle came after ours, but our handle still sees its answers.
    EXPECT_EQ(answer[1], 0xF9);

    // Unplugging wakes a read that would wait forever.
    std::thread unplugger([&] {
        std::this_thread::sleep_for(20ms);
        keyboard->unplug();
    });
    EXPECT_FALSE(readOne(transport, answer, -1));
    unplugger.join();

    // The wait limit cuts the host's long timeout short.
    keyboard->plugIn();
    SimTransport fresh(keyboard);
    keyboard->setReadWaitLimit(30ms);
    start = Clock::now();
    EXPECT_FALSE(readOne(fresh, answer, 60000));
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST(SimKeyboard, AnswerFaultsShapeEveryExchange)
{
    auto keyboard = SimKeyboard::create(4);
    RawHost host(keyboard);
    const auto answersTo = [&](std::uint8_t command) {
        host.command(command);
        return host.readAll(5);
    };

    keyboard->setFaults({.silent = true});
    for (std::uint8_t command : {0xF2, 0xE2, 0xE3, 0xF9})
        EXPECT_TRUE(answersTo(command).empty());

    keyboard->setFaults({.noEndMarker = true});
    EXPECT_EQ(answersTo(0xF2).size(), 216u);
    auto lights = answersTo(0xE2);
    ASSERT_EQ(lights.size(), 6u);
    EXPECT_EQ(lights.back()[1], 0xE0);
    EXPECT_EQ(answersTo(0xE3).size(), 8u);
    EXPECT_EQ(answersTo(0xF9).size(), 1u);

    keyboard->setFaults({.garbage = true});
    for (std::uint8_t command : {0xF2, 0xE2, 0xE3}) {
        const auto answers = answersTo(command);
        EXPECT_EQ(answers.size(), 48u);
        for (const Report &report : answers) {
            EXPECT_NE(report[0], 0xF6);
            EXPECT_NE(report[1], 0xE6);
        }
    }

    keyboard->setFaults({.foreignRecords = true});
    const auto keys = answersTo(0xF2);
    ASSERT_EQ(keys.size(), 217u + 12);
    EXPECT_EQ(keys[0][2], 0); // layer 0
    EXPECT_EQ(keys[228][0], 0xF6);
    EXPECT_EQ(answersTo(0xE2).front()[1], 0x42);
    EXPECT_EQ(answersTo(0xF9).size(), 1u);

    // Oversize answers are cut to what the host asked for, never written past it.
    keyboard->setFaults({.oversize = true});
    host.command(0xE2);
    unsigned char buffer[128];
    std::fill(std::begin(buffer), std::end(buffer), 0xCC);
    unsigned int length = 64;
    ASSERT_TRUE(host.transport.readReport(buffer, length, 0));
    EXPECT_EQ(length, 64u);
    EXPECT_EQ(buffer[64], 0xCC);
    length = sizeof buffer;
    ASSERT_TRUE(host.transport.readReport(buffer, length, 0));
    EXPECT_EQ(length, 128u);
    const auto rest = host.readAll(5);
    ASSERT_EQ(rest.size(), 4u + 8 + 1);
    EXPECT_EQ(rest[4][2], 0xFF); // a claim past the payload
    EXPECT_EQ(rest.back()[1], 0xE6);

    keyboard->setFaults({.versionBusy = true});
    wchar_t text[64] = {};
    EXPECT_FALSE(host.transport.readVersion(text));
    EXPECT_EQ(answersTo(0xE2).size(), 7u); // only version reads are refused
    keyboard->setFaults({});
    EXPECT_TRUE(host.transport.readVersion(text));
}

TEST(SimKeyboard, TraceRecordsWhatCrossedTheCable)
{
    auto keyboard = SimKeyboard::create(4);
    std::vector<std::string> streamed;
    keyboard->setTraceObserver(
        [&](const TraceEntry &entry) { streamed.push_back(entry.toLine()); });
    SimTransport transport(keyboard);
    wchar_t text[64] = {};
    ASSERT_TRUE(transport.readVersion(text));

    const std::vector<TraceEntry> trace = keyboard->trace();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[0].direction, TraceEntry::Direction::Written);
    EXPECT_EQ(trace[0].bytes.size(), 65u);
    EXPECT_EQ(trace[1].direction, TraceEntry::Direction::Read);
    EXPECT_EQ(trace[1].bytes.size(), 64u);
    ASSERT_EQ(streamed.size(), 2u);
    EXPECT_EQ(streamed[0].substr(0, 14), "> 00 00 f9 00 ");
    EXPECT_EQ(streamed[0].size(), 2 + 65 * 3 - 1);
    EXPECT_EQ(streamed[1].substr(0, 20), "< 00 f9 56 31 2e 30 ");
    EXPECT_EQ(streamed[1].size(), 2 + 64 * 3 - 1);

    // Refused writes and failed reads are not reports that crossed.
    unsigned char shortReport[10] = {};
    transport.writeReport(shortReport, sizeof shortReport);
    unsigned char buffer[64];
    unsigned int length = 64;
    transport.readReport(buffer, length, 0);
    EXPECT_EQ(keyboard->trace().size(), 2u);

    keyboard->setTraceLimit(3);
    for (int i = 0; i < 3; ++i)
        transport.readVersion(text);
    EXPECT_EQ(keyboard->trace().size(), 3u);
    EXPECT_EQ(streamed.size(), 8u);
    keyboard->clearTrace();
    EXPECT_TRUE(keyboard->trace().empty());
}

TEST(SimKeyboard, ReportIntervalPacesBothDirections)
{
    auto keyboard = SimKeyboard::create(4);
    keyboard->setReportInterval(2ms);
    SimTransport transport(keyboard);
    wchar_t text[64] = {};
    const auto start = Clock::now();
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(transport.readVersion(text));
    // Ten writes and ten reads, each direction at most one report per interval.
    EXPECT_GE(Clock::now() - start, 18ms);
}

TEST(SimHidBackend, DecoysSurroundTheKeyboard)
{
    auto first = SimKeyboard::create(2);
    auto second = SimKeyboard::create(4);
    SimHidBackend backend(first, true);
    backend.addKeyboard(second);

    const std::vector<std::wstring> paths = backend.interfacePaths();
    ASSERT_EQ(paths.size(), 8u);
    EXPECT_EQ(paths[0], L"sim:keyboard#vid_0483&pid_5130&mi_00");
    EXPECT_EQ(paths[1], L"sim:keyboard2#vid_0483&pid_5330&mi_00");
    EXPECT_EQ(paths[6], L"sim:keyboard#vid_0483&pid_5130&mi_01");
    EXPECT_EQ(paths[7], L"sim:keyboard2#vid_0483&pid_5330&mi_01");

    // A decoy opens on a device that answers nothing of ours.
    auto decoy = backend.open(paths[0]);
    ASSERT_TRUE(decoy);
    wchar_t text[64] = {};
    EXPECT_FALSE(decoy->readVersion(text));
    EXPECT_FALSE(backend.open(L"sim:nothing#vid_0483&pid_5330&mi_01"));

    auto transport = backend.open(paths[7]);
    ASSERT_TRUE(transport);
    EXPECT_TRUE(transport->readVersion(text));
    EXPECT_EQ(backend.openCount(paths[7]), 1);
    EXPECT_EQ(backend.openCount(paths[6]), 0);
    EXPECT_EQ(second->stats().reportsReceived, 1);
    EXPECT_EQ(first->stats().reportsReceived, 0);

    first->unplug();
    const std::vector<std::wstring> left = backend.interfacePaths();
    EXPECT_EQ(left.size(), 6u);
    EXPECT_EQ(left.back(), paths[7]);
}

TEST(SimKeyboard, ToleratesUseFromSeveralThreads)
{
    auto keyboard = SimKeyboard::create(4);
    std::atomic<bool> stop = false;
    std::atomic<int> exchanges = 0;
    std::thread worker([&] {
        RawHost host(keyboard);
        while (!stop) {
            host.command(0xE2);
            if (host.readAll(0).size() == 7)
                ++exchanges;
        }
    });
    KeyboardMemory memory = keyboard->memory();
    for (int i = 0; i < 200; ++i) {
        memory.lights[std::size_t(i % LightAreaSize)] = std::uint8_t(i);
        keyboard->setMemory(memory);
        keyboard->stats();
        keyboard->trace();
        keyboard->setFaults({});
    }
    while (exchanges < 20)
        std::this_thread::yield();
    stop = true;
    worker.join();
    EXPECT_EQ(keyboard->memory().lights, memory.lights);
}
