#include "app/DeviceAccessMessage.h"
#include "app/CNuboApp.h"
#include "app/SkinPreload.h"
#include "model/AppState.h"

#include "../profile/TempFolder.h"
#include "tests/support/FakeHidraw.h"
#include "tests/support/Unprivileged.h"

#include <quillodev/HidBackend.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace fs = std::filesystem;
using DeviceAccessMessage::RuleState;

namespace {

const quillodev::OpenProblem Denied{"/dev/hidraw3", true, "Permission denied"};

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(DeviceAccessMessage, NamesTheNodeAndTheCommandThatGivesAccess)
{
    const std::string apply
        = "sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw";
    const RuleState nowhere;
    const RuleState shipped{{}, "/opt/my quillo/70-quillo.rules"};
    const RuleState installed{"/usr/lib/udev/rules.d/70-quillo.rules", {}};
    EXPECT_EQ(DeviceAccessMessage::command(nowhere),
              "sudo install -m 644 packaging/70-quillo.rules /etc/udev/rules.d/ && " + apply);
    EXPECT_EQ(DeviceAccessMessage::command(shipped),
              "sudo install -m 644 '/opt/my quillo/70-quillo.rules' /etc/udev/rules.d/ && "
                  + apply);
    EXPECT_EQ(DeviceAccessMessage::command(installed), apply);

    for (const RuleState &rule : {nowhere, shipped, installed}) {
        for (bool chinese : {false, true}) {
            const std::string text = DeviceAccessMessage::text(Denied, 4, rule, chinese);
            EXPECT_TRUE(contains(text, "/dev/hidraw3")) << text;
            EXPECT_TRUE(contains(text, "Quillo(RGB)")) << text;
            EXPECT_TRUE(contains(text, "Permission denied")) << text;
            EXPECT_TRUE(contains(text, DeviceAccessMessage::command(rule))) << text;
            EXPECT_EQ(contains(text, "无权"), chinese) << text;
        }
        const std::string line = DeviceAccessMessage::line(Denied, rule);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_TRUE(contains(line, "cannot open the keyboard at /dev/hidraw3: Permission denied"));
        EXPECT_TRUE(contains(line, "no access"));
        EXPECT_TRUE(contains(line, DeviceAccessMessage::command(rule))) << line;
    }
    EXPECT_TRUE(contains(DeviceAccessMessage::text(Denied, 1, installed, false),
                         "70-quillo.rules is installed but has not been applied"));

    // Another failure is named, with no advice about access.
    const quillodev::OpenProblem busy{"/dev/hidraw3", false, "Device or resource busy"};
    for (bool chinese : {false, true}) {
        const std::string text = DeviceAccessMessage::text(busy, 2, nowhere, chinese);
        EXPECT_TRUE(contains(text, "Quillo(S)BLe") && contains(text, "Device or resource busy"));
        EXPECT_FALSE(contains(text, "sudo"));
    }
    EXPECT_EQ(DeviceAccessMessage::line(busy, nowhere),
              "cannot open the keyboard at /dev/hidraw3: Device or resource busy");
}

TEST(DeviceAccessMessage, FindsTheRuleWhereUdevReadsItAndTheCopyBesideTheProgram)
{
    TempFolder root;
    const ResourceLocator locator(root / "bin", "../share/quillo", {});
    fs::create_directories(root / "bin");
    EXPECT_EQ(DeviceAccessMessage::findRule(locator, root.path()).installed, fs::path());
    EXPECT_EQ(DeviceAccessMessage::findRule(locator, root.path()).shipped, fs::path());

    writeBytes(root / "bin/70-quillo.rules", "# rule");
    EXPECT_EQ(DeviceAccessMessage::findRule(locator, root.path()).shipped,
              root / "bin/70-quillo.rules");
    fs::create_directories(root / "usr/lib/udev/rules.d");
    writeBytes(root / "usr/lib/udev/rules.d/70-quillo.rules", "# rule");
    EXPECT_EQ(DeviceAccessMessage::findRule(locator, root.path()).installed,
              "/usr/lib/udev/rules.d/70-quillo.rules");
    // The administrator's copy is the one udev reads.
    fs::create_directories(root / "etc/udev/rules.d");
    writeBytes(root / "etc/udev/rules.d/70-quillo.rules", "# rule");
    EXPECT_EQ(DeviceAccessMessage::findRule(locator, root.path()).installed,
              "/etc/udev/rules.d/70-quillo.rules");
}

// The program started by a user who may not open the keyboard's node: it says so in both
// languages, naming the node and the command, before it says that no keyboard is connected.
TEST(DeviceAccessMessage, TheProgramExplainsAKeyboardItMayNotOpen)
{
    const FakeHidraw tree("program", fs::perms::none);
    // Loaded while still this user: the build folder need not be open to everyone.
    SkinPreload skins([] { return 4; }, CNuboApp::skinFolder());
    skins.wait();
    const ChildResult child = runUnprivileged([&] {
        quillodev::setHidBackend(quillodev::hidrawBackend(tree.sysfs(), tree.devices()));
        AppState state;
        CNuboApp quillo(state);
        quillo.setUnattended(true);
        quillo.setPreload(&skins);
        return std::to_string(quillo.run());
    });
    ASSERT_EQ(child.status, 0) << child.errors;
    EXPECT_EQ(child.result, "1");
    const std::string &said = child.errors;
    const size_t chinese = said.find("Quillo 在 " + tree.node());
    const size_t english = said.find("Quillo found the keyboard Quillo(RGB) at " + tree.node()
                                     + " but may not open it (" + std::strerror(EACCES) + ")");
    const size_t command = said.find("sudo udevadm control --reload");
    const size_t notConnected = said.find("Keyboard is not connected!");
    ASSERT_NE(chinese, std::string::npos) << said;
    ASSERT_NE(english, std::string::npos) << said;
    EXPECT_NE(command, std::string::npos) << said;
    ASSERT_NE(notConnected, std::string::npos) << said;
    EXPECT_LT(chinese, english);
    EXPECT_LT(english, notConnected);
}
