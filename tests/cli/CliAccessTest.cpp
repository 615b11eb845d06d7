#include "cli/CliSession.h"

#include "tests/support/FakeHidraw.h"
#include "tests/support/Unprivileged.h"

#include <quillodev/HidBackend.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

// A user who may not open the keyboard's node hears which node, why, and the command that
// gives access, and the command fails with 3, the keyboard's status; one who may gets past
// opening it.
TEST(CliAccess, DeviceCommandsNameAKeyboardTheyMayNotOpen)
{
    const FakeHidraw tree("cli", std::filesystem::perms::none);
    for (const char *command : {"version", "counters", "read"}) {
        SCOPED_TRACE(command);
        const ChildResult child = runUnprivileged([&] {
            quillodev::setHidBackend(quillodev::hidrawBackend(tree.sysfs(), tree.devices()));
            CliOptions options;
            options.command = command;
            // Where anyone may create a file: read checks its output before the keyboard.
            options.output
                = (std::filesystem::temp_directory_path() / "quillo-access.pro").string();
            return std::to_string(CliSession(options).run());
        });
        ASSERT_EQ(child.status, 0) << child.errors;
        EXPECT_EQ(child.result, "3");
        EXPECT_EQ(child.errors.rfind("quillo-cli: cannot open the keyboard at " + tree.node() + ": "
                                         + std::strerror(EACCES) + "; your user has no access",
                                     0),
                  0u)
            << child.errors;
        EXPECT_NE(child.errors.find("sudo udevadm control --reload"), std::string::npos);
        // One line.
        EXPECT_EQ(child.errors.find('\n'), child.errors.size() - 1) << child.errors;
    }

    // detect still tells what is attached, with a note on stderr.
    const ChildResult detect = runUnprivileged([&] {
        quillodev::setHidBackend(quillodev::hidrawBackend(tree.sysfs(), tree.devices()));
        CliOptions options;
        options.command = "detect";
        return std::to_string(CliSession(options).run());
    });
    EXPECT_EQ(detect.result, "0");
    EXPECT_NE(detect.errors.find("quillo-cli: note: cannot open the keyboard at " + tree.node()),
              std::string::npos)
        << detect.errors;
}
