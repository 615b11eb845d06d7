#include "CliRunner.h"

#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <gtest/gtest.h>

namespace {

ActionList steps(int pageRows, std::initializer_list<const char *> names)
{
    ActionList list(pageRows);
    for (const char *name : names)
        list.setAt(20000, name);
    return list;
}

// Assignments that the keyboard carries unchanged: key steps without press or release
// suffixes, delays only between keys, times only for the times-play mode.
void configure(AppState &state)
{
    state.setAssignment(2, 0, {KeyAssignment::Combo, 0, steps(6, {"LCTRL", "LALT", "DEL"})});
    ActionList timed = steps(9, {"A", "<30 ms>", "B", "<1200 ms>", "(Enter)"});
    timed.delayMs = 0;
    timed.times = 5;
    state.setAssignment(20, 1, {KeyAssignment::Macro, 0, timed});
    ActionList held = steps(9, {"LSHIFT", "Z", "Mouse Wheel Up"});
    held.autoDelay = true;
    held.delayMs = 45;
    held.playMode = 1;
    state.setAssignment(21, 0, {KeyAssignment::Macro, 0, held});
    ActionList toggled = held;
    toggled.playMode = 2;
    state.setAssignment(22, 1, {KeyAssignment::Macro, 0, toggled});
    ActionList emulation = steps(9, {"W", "A", "S", "D"});
    emulation.delayMs = 250;
    state.setAssignment(40, 0, {KeyAssignment::Emulation, 0, emulation});
    state.setAssignment(41, 1, {KeyAssignment::Mouse, 199, {}});
    state.setAssignment(42, 0, {KeyAssignment::Multimedia, 117, {}});
    state.setAssignment(43, 1, {KeyAssignment::Mouse, 130, {}});
    state.setAssignment(44, 0, {KeyAssignment::Function, 153, {}});
    state.setAssignment(45, 1, {KeyAssignment::Power, 77, {}});
    state.setAssignment(46, 0, {KeyAssignment::NotSet, 0, {}});
    state.setAssignment(55, 1, {KeyAssignment::Single, 204, {}});
    for (int key = 1; key <= AppState::KeyCount; ++key)
        state.lightSettings[std::size_t(key)] = {key * 2, 255 - key, (key * 37) % 256};
}

class CliSyncTest : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(CliSyncTest, BringsBackWhatTheKeyboardCarries)
{
    const int variant = GetParam();
    TempFolder folder;
    auto written = std::make_unique<AppState>();
    written->deviceType = variant;
    written->resetKeyModel();
    configure(*written);
    ASSERT_TRUE(writeProfile(*written, written->deviceType, folder.path("in.pro")));

    const CliRun sync = runCli("--sim " + std::to_string(variant) + " sync "
                               + folder.quoted("in.pro") + " -o " + folder.quoted("out.pro"));
    ASSERT_EQ(sync.status, 0) << sync.err;

    auto read = std::make_unique<AppState>();
    read->deviceType = variant;
    read->resetKeyModel();
    ASSERT_EQ(readProfile(*read, read->pressCounters, read->deviceType, folder.path("out.pro")),
              ProfileReadResult::Ok);
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            SCOPED_TRACE("key " + std::to_string(key) + " layer " + std::to_string(layer));
            const KeyAssignment expected = written->assignment(key, layer);
            const KeyAssignment actual = read->assignment(key, layer);
            EXPECT_EQ(actual.category, expected.category);
            // A code travels only for the single-code categories.
            const bool singleCode = expected.category == 1 || expected.category >= 5;
            if (singleCode) {
                EXPECT_EQ(actual.code, expected.code);
            }
            // List positions do not travel; the steps and their settings do.
            EXPECT_TRUE(actual.action.sameAction(expected.action));
        }
    }
    // Only the RGB models take per-key colours; the predefined lists stay with the profile.
    if (variant == 1 || variant == 4) {
        EXPECT_EQ(read->lightSettings, written->lightSettings);
    }
    EXPECT_EQ(read->predefinedMacros.size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, CliSyncTest, ::testing::Values(1, 2, 3, 4));

// Values the keyboard gets other than the profile states them are named on stderr, each with
// key, layer, field, from and to; a step the keyboard would play as something else stops the
// write before anything is sent.
TEST(CliWrite, ChangedValuesAreSaidAndMisreadStepsRefused)
{
    TempFolder folder;
    auto state = std::make_unique<AppState>();
    state->deviceType = 4;
    state->resetKeyModel();
    state->setAssignment(2, 0,
                         {KeyAssignment::Combo, 0, steps(6, {"A", "B", "C", "D", "E", "F", "G"})});
    ActionList cycled = steps(9, {"A Down", "Foo", "A UP"});
    cycled.autoDelay = true;
    cycled.times = 300;
    state->setAssignment(3, 0, {KeyAssignment::Macro, 0, cycled});
    ActionList moded = steps(9, {"A Down", "A UP"});
    moded.autoDelay = true;
    moded.playMode = 5;
    state->setAssignment(4, 0, {KeyAssignment::Macro, 0, moded});
    state->setAssignment(6, 0, {9, 6, {}});
    state->setAssignment(7, 1, {KeyAssignment::Single, 300, {}});
    state->lightSettings[5].red = 999;
    ASSERT_TRUE(writeProfile(*state, 4, folder.path("odd.pro")));

    const std::string in = folder.quoted("odd.pro");
    const std::vector<std::string> notes = {
        "quillo-cli: note: " + folder.path("odd.pro").string()
            + ": the light of key 5 (F4): Red 999 was read as 255",
        "quillo-cli: note: " + folder.path("odd.pro").string()
            + ": key 6 (F5) on the top layer: Mode 9 was read as the key's default",
        "quillo-cli: note: " + folder.path("odd.pro").string()
            + ": key 7 (F6) on the Fn layer: HWCode 300 was read as the key's default",
        "quillo-cli: note: key 2 (F1) on the top layer, Combo: 7 keys, more than the 6 keys a "
        "combination holds; all are sent",
        "quillo-cli: note: key 3 (F2) on the top layer, Macro: Cycles 300 is sent as 255",
        "quillo-cli: note: key 3 (F2) on the top layer, Macro: step 2 Foo is sent as 0 (no key)",
        "quillo-cli: note: key 4 (F3) on the top layer, Macro: PlayMode 5 is sent as 0",
    };
    const auto errLines = [](const CliRun &run) {
        CliRun err;
        err.out = run.err;
        return err.outLines();
    };
    const CliRun write = runCli("--sim 4 write " + in);
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(errLines(write), notes);
    const CliRun sync = runCli("--sim 4 sync " + in + " -o " + folder.quoted("back.pro"));
    EXPECT_EQ(sync.status, 0) << sync.err;
    EXPECT_EQ(errLines(sync), notes);

    // "<1 ms>" where a key belongs would press ESC.
    ActionList escape = steps(9, {"A Down", "<1 ms>", "A UP"});
    escape.autoDelay = true;
    state->setAssignment(8, 0, {KeyAssignment::Macro, 0, escape});
    ASSERT_TRUE(writeProfile(*state, 4, folder.path("esc.pro")));
    for (const std::string &command :
         {"write " + folder.quoted("esc.pro"),
          "sync " + folder.quoted("esc.pro") + " -o " + folder.quoted("esc-back.pro")}) {
        SCOPED_TRACE(command);
        const CliRun refused
            = runCli("--sim 4 --trace " + folder.quoted("trace.txt") + " " + command);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("quillo-cli: Key F7 on the top layer: step 2 (<1 ms>) is a "
                                   "delay where a key belongs; the keyboard would press ESC "
                                   "instead. Nothing was written."),
                  std::string::npos)
            << refused.err;
        EXPECT_EQ(readFile(folder.path("trace.txt")).find("> 00 00 f1"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(folder.path("esc-back.pro")));
    }
}

// sync checks OUT before it writes the keyboard; a failure after the write says that the
// keyboard changed.
TEST(CliSync, OutIsCheckedFirstAndALaterFailureSaysWhatTheKeyboardHolds)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("in.pro")).status, 0);
    writeFile(folder.path("kept.pro"), "kept");
    std::filesystem::permissions(folder.path("kept.pro"), std::filesystem::perms::owner_read);
    const std::string trace = " --trace " + folder.quoted("trace.txt");
    const struct {
        std::string out;
        std::string reason;
    } refused[] = {
        {"nodir/x.pro", "Cannot create a file in the folder: No such file or directory."},
        {"kept.pro", "It is read-only."},
    };
    for (const auto &r : refused) {
        SCOPED_TRACE(r.out);
        const CliRun sync = runCli("--sim 4" + trace + " sync " + folder.quoted("in.pro") + " -o "
                                   + folder.quoted(r.out));
        EXPECT_EQ(sync.status, 1);
        EXPECT_EQ(sync.err, "quillo-cli: " + folder.path(r.out).string()
                                + ": The configuration file could not be saved. " + r.reason
                                + "\n");
        EXPECT_EQ(readFile(folder.path("trace.txt")), ""); // not even opened
    }
    EXPECT_EQ(readFile(folder.path("kept.pro")), "kept");

    // Room for the check, none for the profile.
    const SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no right to mount a small file system";
    const CliRun full = runCli("--sim 4" + trace + " sync " + folder.quoted("in.pro") + " -o '"
                               + disk.path("out.pro").string() + "'");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("note: the keyboard holds what " + folder.path("in.pro").string()
                            + " says: it was written before this failure"),
              std::string::npos)
        << full.err;
    EXPECT_NE(readFile(folder.path("trace.txt")).find("> 00 00 f1"), std::string::npos);
}
