#include "FakeTransport.h"

#include <quillodev/CNuboHWI.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const std::wstring Keyboard5330 = L"\\\\?\\hid#vid_0483&pid_5330&mi_01#7&1a2b&0&0000#{guid}";

class FacadeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = std::make_shared<FakeBackend>();
        quillodev::setHidBackend(backend);
    }
    void TearDown() override { quillodev::setHidBackend(nullptr); }

    FakeTransport &open(CNuboHWI &hwi)
    {
        backend->paths = {Keyboard5330};
        EXPECT_TRUE(hwi.__createDev());
        return *backend->last;
    }

    std::shared_ptr<FakeBackend> backend;
};

} // namespace

TEST_F(FacadeTest, DiscoveryAppliesTheMatchingRuleInEnumerationOrder)
{
    CNuboHWI hwi;
    const std::vector<std::pair<std::wstring, int>> cases = {
        {L"/dev/hidraw0#vid_0483&pid_5030&mi_01", 1},
        {L"/dev/hidraw0#vid_0483&pid_5130&mi_01", 2},
        {L"/dev/hidraw0#vid_0483&pid_5230&mi_01", 3},
        {Keyboard5330, 4},
        {L"\\\\?\\HID#VID_0483&PID_5330&MI_01", 0}, // identifiers are case-sensitive
        {L"/dev/hidraw0#vid_0483&pid_5330&mi_00", 0},
        {L"/dev/hidraw0#vid_0483&pid_5330", 0},
        {L"mi_01#vid_0483&pid_5330", 0}, // interface marker at position 0
        {L"/dev/hidraw0#vid_0484&pid_5330&mi_01", 0},
        {L"/dev/hidraw0#vid_0483&pid_5331&mi_01", 0},
        {L"/dev/hidraw0#pid_5330&mi_01", 0},
        {L"/dev/hidraw0#mi_01&vid_048", 0}, // too short after the marker
    };
    for (const auto &[path, type] : cases) {
        backend->paths = {path};
        EXPECT_EQ(hwi.DetectDeviceType(), type) << std::string(path.begin(), path.end());
        EXPECT_EQ(hwi.DetectDevice(), type != 0);
    }

    backend->paths = {L"/dev/hidraw0#vid_046d&pid_c52b&mi_01",
                      L"/dev/hidraw1#vid_0483&pid_5130&mi_01", Keyboard5330};
    const int before = backend->enumerations;
    EXPECT_EQ(hwi.DetectDeviceType(), 2);
    EXPECT_EQ(backend->enumerations, before + 1); // afresh at each call
    ASSERT_TRUE(hwi.__createDev());
    ASSERT_TRUE(hwi.__createDev());
    EXPECT_EQ(backend->opened, std::vector<std::wstring>{L"/dev/hidraw1#vid_0483&pid_5130&mi_01"});
    EXPECT_TRUE(hwi.__closeDev());

    backend->paths = {L"/dev/hidraw0#vid_046d&pid_c52b&mi_01"};
    EXPECT_FALSE(hwi.__createDev());
    // Without an open device the exchanges fail rather than crash.
    int values[324] = {};
    wchar_t text[64] = {};
    EXPECT_FALSE(hwi.readKeyLightFromDev());
    EXPECT_FALSE(hwi.getKeyboardLightArea(values));
    EXPECT_FALSE(hwi.ReadKeyboardVersion(text));
    EXPECT_EQ(hwi.getHardwareVersion()[0], L'\0');
    EXPECT_FALSE(hwi.prepare());
}

TEST_F(FacadeTest, KeyConfigurationsRoundTrip)
{
    CNuboHWI hwi;
    open(hwi);
    ASSERT_TRUE(hwi.prepare());
    int out[16];
    std::fill(std::begin(out), std::end(out), -7);
    ASSERT_TRUE(hwi.getKeyConfiguration(0, 1, out, 16));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);

    int normal[] = {0, 1, 4};
    EXPECT_TRUE(hwi.setKeyConfiguration(1, 108, normal, 3));
    ASSERT_TRUE(hwi.getKeyConfiguration(1, 108, out, 16));
    EXPECT_EQ(std::vector<int>(out, out + 3), std::vector<int>(normal, normal + 3));

    int continuous[] = {1, 250, 2, 0x29, 0x2A};
    EXPECT_TRUE(hwi.setKeyConfiguration(0, 5, continuous, 5));
    ASSERT_TRUE(hwi.getKeyConfiguration(0, 5, out, 16));
    EXPECT_EQ(std::vector<int>(out, out + 5), std::vector<int>(continuous, continuous + 5));

    int delayed[] = {2, 1, 0, 1, 30, 2, 4, 100, 5, 0};
    EXPECT_TRUE(hwi.setKeyConfiguration(0, 1, delayed, 10));
    std::fill(std::begin(out), std::end(out), -7);
    ASSERT_TRUE(hwi.getKeyConfiguration(0, 1, out, 16));
    EXPECT_EQ(std::vector<int>(out, out + 10),
              (std::vector<int>{2, 1, 0, 1, 30, 2, 4, 100, 5, -7}));

    int plain[] = {2, 2, 3, 0, 0, 3, 7, 8, 9};
    EXPECT_TRUE(hwi.setKeyConfiguration(1, 1, plain, 9));
    ASSERT_TRUE(hwi.getKeyConfiguration(1, 1, out, 9));
    EXPECT_EQ(std::vector<int>(out, out + 9), std::vector<int>(plain, plain + 9));
    // The caller's capacity bounds the output: nothing is written when it does not fit.
    std::fill(std::begin(out), std::end(out), -7);
    EXPECT_FALSE(hwi.getKeyConfiguration(1, 1, out, 8));
    EXPECT_EQ(out[0], -7);

    // Records set here are what the write sends, key 108 of the Fn layer in the last slot.
    FakeTransport &transport = *backend->last;
    ASSERT_TRUE(hwi.writeKeyConfigurationToDev(nullptr));
    EXPECT_EQ(transport.written[216], payloadOf({0x00, 0xF0, 2, 108, 0, 1, 4}));
    EXPECT_EQ(transport.written[1],
              payloadOf({0x00, 0xF0, 1, 1, 3, 0, 1, 0, 30, 0, 8, 4, 0xC8, 0, 100, 5, 0xC8, 0, 0}));

    ASSERT_TRUE(hwi.prepare());
    ASSERT_TRUE(hwi.getKeyConfiguration(1, 108, out, 16));
    EXPECT_EQ(out[1], 0);
}

TEST_F(FacadeTest, OutOfRangeConfigurationsAreRefusedAndLeaveTheSlot)
{
    CNuboHWI hwi;
    open(hwi);
    int good[] = {0, 1, 4};
    ASSERT_TRUE(hwi.setKeyConfiguration(0, 10, good, 3));

    std::vector<int> fiftyNine = {0, 59};
    fiftyNine.resize(61, 4);
    std::vector<int> fiftySevenRepeat = {1, 10, 57};
    fiftySevenRepeat.resize(60, 4);
    std::vector<int> longMacro = {2, 0, 1, 1, 0, 16384};
    longMacro.resize(6 + 2 * 16384, 1); // 65536 bytes of data
    const std::vector<std::vector<int>> refused = {
        {3, 0},                       // unknown kind
        {0, -1},                      // negative count
        {0, 2, 4},                    // fewer elements than the count says
        {0, 1, 256},                  // a code is one byte
        fiftyNine,                    // more codes than a normal record holds
        {1, 70000, 1, 4},             // interval over 16 bits
        fiftySevenRepeat,             // more codes than a continuous record holds
        {2, 3, 0, 0, 0, 1, 4},        // play mode
        {2, 0, 0, 2, 0, 1, 4},        // hasDelays
        {2, 0, 256, 0, 0, 1, 4},      // cycles
        {2, 0, 0, 1, 0, 2, 4, 10, 5}, // a delay pair missing
        {2, 0, 0, 1, 0, 1, 4, 70000}, // delay over 16 bits
        longMacro,                    // data length over 65535
    };
    for (const std::vector<int> &config : refused) {
        std::vector<int> copy = config;
        EXPECT_FALSE(hwi.setKeyConfiguration(0, 10, copy.data(), int(copy.size())))
            << config[0] << "," << config[1];
    }
    EXPECT_FALSE(hwi.setKeyConfiguration(2, 10, good, 3));
    EXPECT_FALSE(hwi.setKeyConfiguration(-1, 10, good, 3));
    EXPECT_FALSE(hwi.setKeyConfiguration(0, 0, good, 3));
    EXPECT_FALSE(hwi.setKeyConfiguration(0, 109, good, 3));
    EXPECT_FALSE(hwi.setKeyConfiguration(0, 10, nullptr, 3));
    int out[4] = {};
    EXPECT_FALSE(hwi.getKeyConfiguration(0, 109, out, 4));

    ASSERT_TRUE(hwi.getKeyConfiguration(0, 10, out, 4));
    EXPECT_EQ(std::vector<int>(out, out + 3), std::vector<int>(good, good + 3));

    std::vector<int> maxMacro = {2, 0, 1, 1, 0, 16383};
    maxMacro.resize(6 + 2 * 16383, 1);
    EXPECT_TRUE(hwi.setKeyConfiguration(0, 10, maxMacro.data(), int(maxMacro.size())));
}

TEST_F(FacadeTest, LightsCountersAndVersion)
{
    CNuboHWI hwi;
    FakeTransport &transport = open(hwi);

    Payload version = payloadOf({0x00, 0xF9, 'V', '1', '.', '0'});
    transport.answers = {version};
    wchar_t text[62];
    std::fill(std::begin(text), std::end(text), L'?');
    ASSERT_TRUE(hwi.ReadKeyboardVersion(text));
    EXPECT_EQ(std::wstring(text), L"V1.0");
    EXPECT_EQ(transport.written.back(), payloadOf({0x00, 0xF9}));
    transport.answers = {version};
    EXPECT_EQ(std::wstring(hwi.getHardwareVersion()), L"V1.0");
    EXPECT_EQ(hwi.getHardwareVersion()[0], L'\0'); // nothing answered: no stale text

    Payload counters = payloadOf({0x00, 0xE3, 8, 0x01, 0x02, 0x03, 0x04, 0xFF, 0, 0, 0});
    transport.answers = {counters, payloadOf({0x00, 0xE6})};
    int values[108] = {};
    EXPECT_TRUE(hwi.getPressCounterFromDev(values));
    EXPECT_EQ(values[0], 0x04030201);
    EXPECT_EQ(values[1], 0xFF);
    // A failed read says so, and hands out the counters read last.
    EXPECT_FALSE(hwi.getPressCounterFromDev(values));
    EXPECT_EQ(values[1], 0xFF);

    int lights[324];
    for (int i = 0; i < 324; ++i)
        lights[i] = i % 256;
    EXPECT_TRUE(hwi.setKeyboardLightArea(lights));
    int back[324] = {};
    EXPECT_TRUE(hwi.getKeyboardLightArea(back));
    EXPECT_EQ(back[300], 300 % 256);
    transport.failWriteAt = int(transport.written.size());
    EXPECT_FALSE(hwi.setKeyboardLightArea(lights));
}

TEST_F(FacadeTest, ASecondExchangeFailsWhileOneRuns)
{
    CNuboHWI hwi;
    FakeTransport &transport = open(hwi);
    std::atomic<bool> inside{false};
    std::atomic<bool> release{false};
    transport.onRead = [&] {
        inside = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    transport.answers = {payloadOf({0x00, 0xE6})};
    bool readResult = false;
    std::thread worker([&] { readResult = hwi.readKeyLightFromDev(); });
    while (!inside)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    const size_t writes = transport.written.size();
    wchar_t text[64];
    int values[324] = {};
    char firmware[] = ":00000001FF\r\n";
    EXPECT_FALSE(hwi.ReadKeyboardVersion(text));
    EXPECT_FALSE(hwi.WriteFirmwareToKeyboard(firmware, int(sizeof firmware), nullptr));
    EXPECT_FALSE(hwi.setKeyboardLightArea(values));
    EXPECT_FALSE(hwi.prepare());
    EXPECT_FALSE(hwi.__closeDev());
    EXPECT_EQ(transport.written.size(), writes);

    release = true;
    worker.join();
    EXPECT_TRUE(readResult);
    transport.onRead = nullptr;
    transport.answers = {payloadOf({0x00, 0x00, 'X'})};
    EXPECT_TRUE(hwi.ReadKeyboardVersion(text));
}

TEST_F(FacadeTest, RecordsFromTheKeyboardComeBackAsAcceptableArrays)
{
    CNuboHWI hwi;
    FakeTransport &transport = open(hwi);
    // A delay flag byte other than 1, with two entries whose second delay is never read back.
    transport.answers
        = {payloadOf({0x00, 0xF0, 2, 7, 2, 5, 9, 0, 20, 0, 8, 4, 0xC8, 0, 50, 5, 0xC8, 0, 60}),
           payloadOf({0xF6})};
    ASSERT_TRUE(hwi.readKeyDefinationFromDev(nullptr));
    int out[16];
    std::fill(std::begin(out), std::end(out), 0);
    ASSERT_TRUE(hwi.getKeyConfiguration(1, 7, out, 16));
    EXPECT_EQ(std::vector<int>(out, out + 10), (std::vector<int>{2, 0, 5, 1, 20, 2, 4, 50, 5, 0}));
    EXPECT_TRUE(hwi.setKeyConfiguration(1, 7, out, 10));
}
