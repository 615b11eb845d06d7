#include "CliRunner.h"

#include "model/AppState.h"
#include "profile/ProfileFile.h"
#include "tests/support/BrokenProfiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int lineCount(const std::string &text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

// A profile whose keys differ from the defaults before and after where the cut copies end.
std::string goodProfile(const TempFolder &folder)
{
    auto state = std::make_unique<AppState>();
    state->deviceType = 4;
    state->resetKeyModel();
    state->setAssignment(10, 0, {KeyAssignment::Multimedia, 112, {}});
    state->setAssignment(90, 1, {KeyAssignment::Single, 9, {}});
    EXPECT_TRUE(writeProfile(*state, state->deviceType, folder.path("good.pro")));
    return readFile(folder.path("good.pro"));
}

} // namespace

TEST(Cli, DamagedProfilesAreRefusedUnlessLenient)
{
    TempFolder folder;
    const std::string good = goodProfile(folder);
    const std::string in = folder.quoted("broken.pro");
    const std::string out = folder.quoted("out.pro");
    const CliRun defaults = runCli("defaults --variant 4 -o " + folder.quoted("reset.pro"));
    ASSERT_EQ(defaults.status, 0);
    const std::vector<std::string> goodRows
        = runCli("show " + folder.quoted("good.pro") + " --variant 4").outLines();
    const std::vector<std::string> resetRows
        = runCli("show " + folder.quoted("reset.pro") + " --variant 4").outLines();
    ASSERT_EQ(goodRows.size(), 216u);
    ASSERT_NE(goodRows, resetRows);

    for (const BrokenProfile &broken : brokenProfiles(good)) {
        SCOPED_TRACE(broken.kind);
        writeFile(folder.path("broken.pro"), broken.text);
        const std::string where = "line " + std::to_string(broken.line) + ":";

        // Refused by every command that reads it, with the place and the way out.
        for (const std::string &command :
             {"show " + in + " --variant 4", "convert " + in + " -o " + out + " --variant 4",
              "--sim 4 write " + in}) {
            const CliRun run = runCli(command);
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_TRUE(run.out.empty()) << command;
            EXPECT_EQ(lineCount(run.err), 1) << run.err;
            EXPECT_NE(run.err.find("broken.pro: This profile is damaged (" + where),
                      std::string::npos)
                << run.err;
            EXPECT_NE(run.err.find("--lenient"), std::string::npos) << run.err;
        }
        EXPECT_FALSE(std::filesystem::exists(folder.path("out.pro")));

        // Read as far as it goes, with a note; the switch may stand before or after the command.
        const CliRun shown = runCli("show " + in + " --variant 4 --lenient");
        ASSERT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(lineCount(shown.err), 1) << shown.err;
        EXPECT_NE(shown.err.find("damaged (" + where), std::string::npos) << shown.err;
        EXPECT_NE(shown.err.find("What could be read was read"), std::string::npos) << shown.err;
        const std::vector<std::string> rows = shown.outLines();
        ASSERT_EQ(rows.size(), 216u);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const int key = int(row / 2) + 1;
            EXPECT_EQ(rows[row], key < broken.firstLostKey ? goodRows[row] : resetRows[row]) << row;
        }

        const CliRun converted = runCli("--lenient convert " + in + " -o " + out + " --variant 4");
        ASSERT_EQ(converted.status, 0) << converted.err;
        EXPECT_EQ(runCli("show " + out + " --variant 4").outLines(), rows);
        std::filesystem::remove(folder.path("out.pro"));

        // What goes to the keyboard is what was read.
        const CliRun synced = runCli("--sim 4 sync " + in + " -o " + out + " --lenient");
        ASSERT_EQ(synced.status, 0) << synced.err;
        EXPECT_EQ(runCli("show " + out + " --variant 4").outLines(), rows);
        std::filesystem::remove(folder.path("out.pro"));
    }
}
