#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr const char *NoSpace = "cannot write the output: No space left on device";

// A file system of 16 KiB of our own, where a long document does not fit; nothing without
// the right to mount one.
class SmallDisk {
public:
    SmallDisk()
    {
        std::filesystem::create_directory(m_folder.path("small"));
        m_mounted
            = ::geteuid() == 0
              && ::mount("tmpfs", m_folder.path("small").c_str(), "tmpfs", 0, "size=16k") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount(m_folder.path("small").c_str());
    }
    bool mounted() const { return m_mounted; }
    std::filesystem::path path(const std::string &name) const
    {
        return m_folder.path("small") / name;
    }

private:
    TempFolder m_folder;
    bool m_mounted = false;
};

} // namespace

// Output that does not reach its file is a failure with the reason, never status 0.
TEST(CliOutput, AFullDiskOrTraceFileIsAFailure)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("a.pro")).status, 0);
    ASSERT_EQ(runCli("set " + folder.quoted("a.pro")
                     + " --variant 4 --key ESC --layer top --clear -o " + folder.quoted("b.pro"))
                  .status,
              0);
    const std::string a = folder.quoted("a.pro") + " --variant 4";
    const struct {
        std::string arguments;
        int status;
    } runs[] = {
        {"show " + a, 1},
        {"show --json " + a, 1},
        {"--sim 4 counters", 1},
        {"--sim 4 counters --json", 1},
        {"--help", 1},
        // diff says trouble as diff(1) does.
        {"diff " + a + " " + folder.quoted("b.pro"), 2},
    };
    for (const auto &run : runs) {
        SCOPED_TRACE(run.arguments);
        const CliRun full = runCli(run.arguments, "/dev/full");
        EXPECT_EQ(full.status, run.status);
        EXPECT_NE(full.err.find(NoSpace), std::string::npos) << full.err;
    }

    const CliRun traced = runCli("--sim 4 --trace /dev/full version");
    EXPECT_EQ(traced.status, 1);
    EXPECT_NE(traced.err.find("cannot write the trace file /dev/full: No space left on device"),
              std::string::npos)
        << traced.err;

    const SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no right to mount a small file system";
    const CliRun cut = runCli("show --json " + a, disk.path("out.json").string());
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find(NoSpace), std::string::npos) << cut.err;
}
