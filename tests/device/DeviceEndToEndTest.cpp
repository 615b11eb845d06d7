#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/Quillodev.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

// An Intel HEX image of `records` 16-byte data records, CR LF lines.
std::string firmwareText(int records)
{
    auto line = [](std::vector<int> bytes) {
        int sum = 0;
        for (int b : bytes)
            sum += b;
        bytes.push_back((-sum) & 0xFF);
        std::string text = ":";
        char hex[3];
        for (int b : bytes) {
            std::snprintf(hex, sizeof hex, "%02X", b);
            text += hex;
        }
        return text + "\r\n";
    };
    std::string text = line({0x02, 0x00, 0x00, 0x04, 0x08, 0x00});
    for (int r = 0; r < records; ++r) {
        std::vector<int> bytes = {0x10, (r * 16) >> 8 & 0xFF, (r * 16) & 0xFF, 0x00};
        for (int i = 0; i < 16; ++i)
            bytes.push_back((r + i) & 0xFF);
        text += line(bytes);
    }
    return text + line({0x00, 0x00, 0x00, 0x01});
}

class StartSignal : public MessageTarget {
public:
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t) override
    {
        if (message == quillodev::DeviceMessageProgress)
            last = int(wParam);
    }
    std::atomic<int> last{0};
};

class DeviceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        keyboard = quillosim::SimKeyboard::create(4);
        quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
    }
    void TearDown() override { quillodev::setHidBackend(nullptr); }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
};

} // namespace

TEST_F(DeviceEndToEnd, AVersionReadDuringAFirmwareDownloadFailsWithoutMixingIn)
{
    keyboard->setReportInterval(std::chrono::milliseconds(1));
    CNuboHWI facade;
    ASSERT_TRUE(facade.__createDev());
    std::string image = firmwareText(400);
    StartSignal progress;
    bool downloaded = false;
    std::thread worker([&] {
        downloaded = facade.WriteFirmwareToKeyboard(image.data(), int(image.size()), &progress);
    });
    while (progress.last == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    wchar_t text[64] = {};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(facade.ReadKeyboardVersion(text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_LT(progress.last, 150); // it did overlap the download
    worker.join();

    EXPECT_TRUE(downloaded);
    EXPECT_EQ(keyboard->firmwareUpdates(), 1);
    EXPECT_EQ(keyboard->rejectedFirmwareRecords(), 0);
    EXPECT_TRUE(facade.ReadKeyboardVersion(text));
}

TEST_F(DeviceEndToEnd, AnEntryLessMacroClearsWhatTheKeyHeld)
{
    CNuboHWI facade;
    ASSERT_TRUE(facade.__createDev());
    ASSERT_TRUE(facade.prepare());
    int macro[] = {2, 0, 1, 0, 0, 3, 4, 5, 6};
    ASSERT_TRUE(facade.setKeyConfiguration(0, 5, macro, 9));
    ASSERT_TRUE(facade.writeKeyConfigurationToDev(nullptr));

    ASSERT_TRUE(facade.prepare());
    int empty[] = {2, 0, 1, 0, 0, 0};
    ASSERT_TRUE(facade.setKeyConfiguration(0, 5, empty, 6));
    ASSERT_TRUE(facade.writeKeyConfigurationToDev(nullptr));

    ASSERT_TRUE(facade.prepare());
    ASSERT_TRUE(facade.readKeyDefinationFromDev(nullptr));
    int out[16] = {};
    ASSERT_TRUE(facade.getKeyConfiguration(0, 5, out, 16));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
}
