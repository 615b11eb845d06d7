#include "FakeTransport.h"
#include "tests/support/FakeHidraw.h"
#include "tests/support/Unprivileged.h"

#include "device/linux/HidrawBackend.h"
#include "device/linux/HidrawUtil.h"

#include <quillodev/CNuboHWI.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/socket.h>
#include <unistd.h>

namespace fs = std::filesystem;
using quillodev::HidrawBackend;
using quillodev::HidrawUtil;

namespace {

class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path()
               / ("quillo-sysfs-" + std::to_string(::getpid()) + "-"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "class" / "hidraw");
    }
    void TearDown() override { fs::remove_all(root); }

    void addNode(const std::string &name, const std::string &uevent)
    {
        const fs::path dir = root / "class" / "hidraw" / name / "device";
        fs::create_directories(dir);
        std::ofstream(dir / "uevent") << uevent;
    }

    fs::path root;
};

std::string uevent(const std::string &id, const std::string &phys)
{
    return "DRIVER=hid-generic\nHID_ID=" + id + "\nHID_NAME=Quillo Keyboard\nHID_PHYS=" + phys
           + "\nHID_UNIQ=\nMODALIAS=hid:b0003g0001v00000483p00005330\n";
}

} // namespace

TEST_F(FakeSysfs, EnumeratesNodesInNumericOrderWithWindowsStyleIdentifiers)
{
    addNode("hidraw10", uevent("0003:00000483:00005330", "usb-0000:00:14.0-2/input1"));
    addNode("hidraw2", uevent("0003:0000046D:0000C52B", "usb-0000:00:14.0-1/input0"));
    addNode("hidraw3", uevent("0005:00000483:00005130", "aa:bb:cc:dd:ee:ff")); // no interface
    addNode("hidraw4", "DRIVER=hid-generic\n");                                // no HID_ID
    fs::create_directories(root / "class" / "hidraw" / "hidraw5");             // no uevent
    fs::create_directories(root / "class" / "hidraw" / "somethingelse");

    HidrawBackend backend(root.string(), "/dev");
    EXPECT_EQ(backend.interfacePaths(),
              (std::vector<std::wstring>{L"/dev/hidraw2#vid_046d&pid_c52b&mi_00",
                                         L"/dev/hidraw3#vid_0483&pid_5130",
                                         L"/dev/hidraw10#vid_0483&pid_5330&mi_01"}));

    EXPECT_EQ(HidrawBackend::identifiersFromUevent(uevent("0003:00000483:00005030", "x/input12")),
              "vid_0483&pid_5030&mi_0c");
    EXPECT_EQ(HidrawBackend::identifiersFromUevent("HID_ID=0003:zz:5030\n"), "");
    EXPECT_EQ(HidrawBackend::identifiersFromUevent("HID_ID=0003:0483\n"), "");

    HidrawBackend missing((root / "nothing").string(), "/dev");
    EXPECT_TRUE(missing.interfacePaths().empty());
}

TEST_F(FakeSysfs, DiscoveryFindsTheKeyboardAmongHidrawNodes)
{
    addNode("hidraw0", uevent("0003:00000483:00005330", "usb-0000:00:14.0-2/input0"));
    addNode("hidraw1", uevent("0003:00000483:00005330", "usb-0000:00:14.0-2/input1"));
    // A node that cannot be opened gives no transport: found, but not opened.
    auto backend = std::make_shared<HidrawBackend>(root.string(), (root / "dev").string());
    quillodev::setHidBackend(backend);
    CNuboHWI hwi;
    EXPECT_EQ(hwi.DetectDeviceType(), 4);
    EXPECT_FALSE(hwi.__createDev());
    wchar_t text[64];
    EXPECT_FALSE(hwi.ReadKeyboardVersion(text));
    EXPECT_FALSE(hwi.readKeyLightFromDev());
    // The node is missing: a problem, but not one of access.
    const auto problem = quillodev::keyboardOpenProblem();
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->node, (root / "dev" / "hidraw1").string());
    EXPECT_FALSE(problem->accessDenied);
    EXPECT_EQ(problem->reason, std::strerror(ENOENT));
    quillodev::setHidBackend(nullptr);
}

TEST(Hidraw, ReportsKeepTheirBoundariesAndReadsTimeOut)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair), 0);
    HidrawUtil util(pair[0]);
    const int keyboard = pair[1];

    unsigned char report[65] = {};
    report[2] = 0xF9;
    ASSERT_TRUE(util.writeReport(report, 65));
    unsigned char received[128];
    ASSERT_EQ(::recv(keyboard, received, sizeof received, 0), 65);
    EXPECT_EQ(received[0], 0);
    EXPECT_EQ(received[2], 0xF9);

    unsigned char answer[64] = {};
    answer[1] = 0xE6;
    unsigned char shortAnswer[3] = {0x00, 0xE0, 0x01};
    ASSERT_EQ(::send(keyboard, answer, sizeof answer, 0), 64);
    ASSERT_EQ(::send(keyboard, shortAnswer, sizeof shortAnswer, 0), 3);
    unsigned char payload[64];
    unsigned int length = 64;
    ASSERT_TRUE(util.readReport(payload, length, 1000));
    EXPECT_EQ(length, 64u);
    EXPECT_EQ(payload[1], 0xE6);
    std::fill(std::begin(payload), std::end(payload), 0xAA);
    length = 64;
    ASSERT_TRUE(util.readReport(payload, length, 1000));
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(payload[2], 0x01);
    EXPECT_EQ(payload[3], 0x00); // the rest is cleared, not left over

    const auto start = std::chrono::steady_clock::now();
    length = 64;
    EXPECT_FALSE(util.readReport(payload, length, 50));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    ::close(keyboard); // unplugged
    length = 64;
    EXPECT_FALSE(util.readReport(payload, length, 1000));
    EXPECT_FALSE(util.writeReport(report, 65));

    HidrawUtil closed(-1);
    EXPECT_FALSE(closed.writeReport(report, 65));
    EXPECT_FALSE(closed.readReport(payload, length, 10));
}

// A keyboard whose node this user may not open is named as such, and not opened; one the user
// may open has no problem and opens. Nothing is found where no keyboard is.
TEST(HidrawAccess, AKeyboardThisUserMayNotOpenIsNamedAndLeftClosed)
{
    const auto probe = [](const FakeHidraw &tree) {
        quillodev::setHidBackend(quillodev::hidrawBackend(tree.sysfs(), tree.devices()));
        const auto problem = quillodev::keyboardOpenProblem();
        CNuboHWI hwi;
        const std::string text
            = std::to_string(hwi.DetectDeviceType()) + " "
              + (hwi.__createDev() ? "opened" : "closed") + " "
              + (problem ? problem->node + " " + (problem->accessDenied ? "denied " : "failed ")
                               + problem->reason
                         : std::string("fine"));
        quillodev::setHidBackend(nullptr);
        return text;
    };

    const FakeHidraw locked("locked", std::filesystem::perms::none);
    const ChildResult child = runUnprivileged([&] { return probe(locked); });
    ASSERT_EQ(child.status, 0) << child.errors;
    EXPECT_EQ(child.result, "4 closed " + locked.node() + " denied " + std::strerror(EACCES));

    const FakeHidraw open(
        "open", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                    | std::filesystem::perms::others_read | std::filesystem::perms::others_write);
    EXPECT_EQ(runUnprivileged([&] { return probe(open); }).result, "4 opened fine");

    quillodev::setHidBackend(quillodev::hidrawBackend("/nonexistent", "/nonexistent"));
    EXPECT_FALSE(quillodev::keyboardOpenProblem());
    quillodev::setHidBackend(nullptr);
}
