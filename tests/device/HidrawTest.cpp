#include "FakeTransport.h"
#include "tests/support/FakeHidraw.h"
#include "tests/support/Unprivileged.h"

#include "device/linux/HidrawBackend.h"
#include "device/linux/HidrawUtil.h"
#include "device/src/ReportDescriptor.h"

#include <quillodev/CNuboHWI.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

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

namespace {

// The settings interface: 64 bytes in and out, no report IDs.
const std::vector<std::uint8_t> vendorDescriptor
    = {0x06, 0x00, 0xff, 0x09, 0x01, 0xa1, 0x01, 0x09, 0x02, 0x15, 0x00, 0x26,
       0xff, 0x00, 0x75, 0x08, 0x95, 0x40, 0x81, 0x02, 0x09, 0x03, 0x15, 0x00,
       0x26, 0xff, 0x00, 0x75, 0x08, 0x95, 0x40, 0x91, 0x02, 0xc0};
// A boot keyboard: 8 bytes in, a 1-byte LED report out.
const std::vector<std::uint8_t> bootKeyboardDescriptor = {
    0x05, 0x01, 0x09, 0x06, 0xa1, 0x01, 0x05, 0x07, 0x19, 0xe0, 0x29, 0xe7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x03, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x03, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xc0};

bool carries(const std::vector<std::uint8_t> &bytes)
{
    return quillodev::ReportDescriptor::carriesKeyboardReports(bytes.data(), bytes.size());
}

} // namespace

TEST(ReportDescriptor, OnlyUnnumbered64ByteReportsPass)
{
    EXPECT_TRUE(carries(vendorDescriptor));
    EXPECT_FALSE(carries(bootKeyboardDescriptor));
    EXPECT_FALSE(carries({}));

    // A report ID in front of the same reports: writes would need it.
    std::vector<std::uint8_t> numbered = {0x85, 0x01};
    numbered.insert(numbered.end(), vendorDescriptor.begin(), vendorDescriptor.end());
    EXPECT_FALSE(carries(numbered));

    // Cut inside an item, or popping what was never pushed: malformed, refused.
    EXPECT_FALSE(carries({vendorDescriptor.begin(), vendorDescriptor.end() - 22}));
    EXPECT_FALSE(carries({0x27, 0xff, 0xff}));
    EXPECT_FALSE(carries({0xb4}));
    EXPECT_FALSE(carries({0xfe, 0x10, 0x00}));

    // Push and pop restore the sizes: the output report is 64 bytes again after the pop.
    std::vector<std::uint8_t> pushed(vendorDescriptor.begin(), vendorDescriptor.begin() + 20);
    pushed.insert(pushed.end(), {0xa4, 0x75, 0x01, 0xb4});
    pushed.insert(pushed.end(), vendorDescriptor.begin() + 20, vendorDescriptor.end());
    EXPECT_TRUE(carries(pushed));
}

TEST_F(FakeSysfs, ABootKeyboardOnInterfaceOneIsNotTakenForTheKeyboard)
{
    const auto describe = [this](const std::string &node, const std::vector<std::uint8_t> &bytes) {
        std::ofstream(root / "class" / "hidraw" / node / "device" / "report_descriptor",
                      std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    };
    // Interfaces swapped: the settings interface on 0, the boot keyboard on 1.
    addNode("hidraw0", uevent("0003:00000483:00005330", "usb-dummy_hcd.1-1/input0"));
    addNode("hidraw1", uevent("0003:00000483:00005330", "usb-dummy_hcd.1-1/input1"));
    describe("hidraw0", vendorDescriptor);
    describe("hidraw1", bootKeyboardDescriptor);
    // A true keyboard plugged in after it.
    addNode("hidraw2", uevent("0003:00000483:00005130", "usb-dummy_hcd.0-1/input1"));
    describe("hidraw2", vendorDescriptor);

    HidrawBackend backend(root.string(), "/dev");
    const std::vector<std::wstring> expected
        = {L"/dev/hidraw0#vid_0483&pid_5330&mi_00", L"/dev/hidraw2#vid_0483&pid_5130&mi_01"};
    EXPECT_EQ(backend.interfacePaths(), expected);
}
