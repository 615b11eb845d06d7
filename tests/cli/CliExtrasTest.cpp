#include "CliRunner.h"

#include "app/HeatmapScale.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::vector<fs::path> backups()
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto &entry :
         fs::directory_iterator(fs::path(std::getenv("XDG_DATA_HOME")) / "quillo/backups", error))
        found.push_back(entry.path());
    return found;
}

QRgb rgbOf(std::uint32_t colour)
{
    return qRgb(int(colour >> 16) & 0xFF, int(colour >> 8) & 0xFF, int(colour) & 0xFF);
}

ActionList macro(std::initializer_list<const char *> steps, bool autoDelay, int delayMs)
{
    ActionList action(9);
    for (const char *step : steps)
        action.setAt(20000, step);
    action.autoDelay = autoDelay;
    action.delayMs = delayMs;
    return action;
}

// A profile of the Quillo(RGB) whose key 2 has `action` as its macro on the top layer.
std::string macroProfile(const TempFolder &folder, const std::string &name, ActionList action)
{
    AppState state;
    state.deviceType = 4;
    state.resetKeyModel();
    state.setAssignment(2, 0, {KeyAssignment::Macro, 0, std::move(action)});
    EXPECT_TRUE(writeProfile(state, 4, folder.path(name)));
    return folder.quoted(name);
}

} // namespace

TEST(CliDiff, EqualProfilesSayNothingAndDifferencesGetALineEach)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("a.pro")).status, 0);
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("b.pro")).status, 0);
    const CliRun same
        = runCli("diff " + folder.quoted("a.pro") + " " + folder.quoted("b.pro") + " --variant 4");
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_TRUE(same.out.empty());

    // B: key 2 on the top layer a macro, key 5's light red, a predefined combination more.
    std::string b = readFile(folder.path("b.pro"));
    b = replaced(b,
                 "<KEY ID=\"2\" Level=\"0\" Mode=\"1\" HWCode=\"2\">\r\n<ComboKey>\r\n<List "
                 "SizeOfView=\"9\" ViewStartAt=\"0\" CursorPos=\"0\" Cycles=\"1\" "
                 "IsAutoInterval=\"0\" Delay=\"30\" PlayMode=\"0\"/>",
                 "<KEY ID=\"2\" Level=\"0\" Mode=\"3\" HWCode=\"2\">\r\n<ComboKey>\r\n<List "
                 "SizeOfView=\"9\" ViewStartAt=\"0\" CursorPos=\"0\" Cycles=\"1\" "
                 "IsAutoInterval=\"0\" Delay=\"30\" PlayMode=\"0\">\r\n<x ID=\"0\" t1=\"A "
                 "Down\">\r\n<List/>\r\n</x>\r\n<x ID=\"1\" t1=\"A UP\">\r\n<List/>\r\n</x>\r\n"
                 "</List>");
    b = replaced(b, "<AREA ID=\"5\" Red=\"0\" Green=\"0\" Blue=\"0\"/>",
                 "<AREA ID=\"5\" Red=\"255\" Green=\"0\" Blue=\"0\"/>");
    b = replaced(b,
                 "<PredefinedCombo>\r\n<List SizeOfView=\"6\" ViewStartAt=\"0\" CursorPos=\"0\" "
                 "Cycles=\"1\" IsAutoInterval=\"0\" Delay=\"30\" PlayMode=\"0\"/>",
                 "<PredefinedCombo>\r\n<List SizeOfView=\"6\" ViewStartAt=\"0\" CursorPos=\"0\" "
                 "Cycles=\"1\" IsAutoInterval=\"0\" Delay=\"30\" PlayMode=\"0\">\r\n<x ID=\"0\" "
                 "t1=\"copy\">\r\n<List>\r\n<x ID=\"0\" t1=\"Ctrl\"><List/></x>\r\n<x ID=\"1\" "
                 "t1=\"C\"><List/></x>\r\n</List>\r\n</x>\r\n</List>");
    writeFile(folder.path("b.pro"), b);

    const CliRun differ
        = runCli("diff " + folder.quoted("a.pro") + " " + folder.quoted("b.pro") + " --variant 4");
    EXPECT_EQ(differ.status, 1) << differ.err;
    EXPECT_EQ(differ.outLines(), (std::vector<std::string>{
                                     "2\t0\tSingle\tF1\t->\tMacro\tA,A",
                                     "light\t5\t0 0 0\t->\t255 0 0",
                                     "combo\t1\t-\t->\tcopy: Ctrl | C\t(same on the keyboard)",
                                 }))
        << differ.out;
    // Each side is read as show reads it: the same words.
    const CliRun shown = runCli("show " + folder.quoted("b.pro") + " --variant 4");
    EXPECT_EQ(shown.outLines().at(2), "2\t0\tMacro\tA,A\tF1");

    // The other way round, and without --variant from the emulated keyboard.
    const CliRun back
        = runCli("--sim 4 diff " + folder.quoted("b.pro") + " " + folder.quoted("a.pro"));
    EXPECT_EQ(back.status, 1);
    EXPECT_EQ(back.outLines().at(0), "2\t0\tMacro\tA,A\t->\tSingle\tF1");
}

TEST(CliDiff, BadUsageAndUnreadableProfilesExitWithTwo)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 2 -o " + folder.quoted("a.pro")).status, 0);
    EXPECT_EQ(runCli("diff " + folder.quoted("a.pro")).status, 2);
    EXPECT_EQ(runCli("diff").status, 2);
    EXPECT_EQ(
        runCli("diff " + folder.quoted("a.pro") + " " + folder.quoted("a.pro") + " --variant 7")
            .status,
        2);
    const CliRun missing = runCli("diff " + folder.quoted("a.pro") + " " + folder.quoted("none.pro")
                                  + " --variant 2");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("none.pro"), std::string::npos) << missing.err;
    // Profiles of two models are compared only as one model's.
    ASSERT_EQ(runCli("defaults --variant 3 -o " + folder.quoted("s.pro")).status, 0);
    const CliRun models = runCli("diff " + folder.quoted("a.pro") + " " + folder.quoted("s.pro"));
    EXPECT_EQ(models.status, 2);
    EXPECT_NE(models.err.find("is a profile of the Quillo(S)BLe, " + folder.path("s.pro").string()
                              + " of the Quillo(S); --variant N compares them"),
              std::string::npos)
        << models.err;
    EXPECT_EQ(
        runCli("diff " + folder.quoted("a.pro") + " " + folder.quoted("s.pro") + " --variant 3")
            .status,
        1);
}

TEST(CliHeatmap, TheCountersAsAPictureLikeTheMainWindows)
{
    TempFolder folder;
    const CliRun run = runCli("--sim 4 counters --heatmap " + folder.quoted("heat.png"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(run.outLines().at(0), "highest\tSpace"); // the text is as it was
    const QImage picture(QString::fromStdString(folder.path("heat.png").string()));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize((1068 + 28) * 2, (328 + 42 + 30 + 7) * 2));

    // The emulated keyboard's most pressed key (Space) and its least (Pause) at the ends of
    // the scale, where the main window puts them.
    const auto spot = [](int key) {
        const ButtonRect r = MainWindowTable::build(4)[std::size_t(12 + key)].rect;
        return QPoint((r.left - 104 + 14 + 10) * 2, (r.top - 150 + 14 + 8) * 2);
    };
    EXPECT_EQ(picture.pixel(spot(70)), rgbOf(HeatmapScale::viridis(1.0)));
    EXPECT_EQ(picture.pixel(spot(77)), rgbOf(HeatmapScale::viridis(0.0)));

    const CliRun bad = runCli("--sim 4 counters --heatmap " + folder.quoted("none/heat.png"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("The heatmap picture could not be saved."), std::string::npos)
        << bad.err;
}

// The picture is written as profiles are: refused, with the reason, where it would hang on a
// pipe or replace a folder, and whole or not at all on a full disk.
TEST(CliHeatmap, ThePictureIsReplacedWholeOrNotAtAll)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.path("fifo.png").c_str(), 0600), 0);
    fs::create_directory(folder.path("folder.png"));
    for (const auto &[name, kind] :
         {std::pair<std::string, std::string>{"fifo.png", "a FIFO"}, {"folder.png", "a folder"}}) {
        SCOPED_TRACE(name);
        const CliRun refused = runCli("--sim 4 counters --heatmap " + folder.quoted(name));
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(
            refused.err.find(name + ": The heatmap picture could not be saved. It is " + kind),
            std::string::npos)
            << refused.err;
        EXPECT_TRUE(refused.out.empty()) << refused.out;
    }

    const SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no right to mount a small file system";
    writeFile(disk.path("old.png"), "the old picture");
    const CliRun full
        = runCli("--sim 4 counters --heatmap '" + disk.path("old.png").string() + "'");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;
    EXPECT_EQ(readFile(disk.path("old.png")), "the old picture");
    std::vector<fs::path> left;
    for (const auto &entry : fs::directory_iterator(disk.path("")))
        left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<fs::path>{"old.png"});
}

TEST(CliFirmware, TheKeyboardsSettingsAreSavedFirstUnlessNoBackup)
{
    TempFolder folder;
    std::error_code error;
    fs::remove_all(fs::path(std::getenv("XDG_DATA_HOME")), error);
    writeFile(folder.path("Quillo(S)_V2.bin"), ":0400000001020304F2\r\n:00000001FF\r\n");

    const CliRun done = runCli("--sim 3 firmware " + folder.quoted("Quillo(S)_V2.bin"));
    ASSERT_EQ(done.status, 0) << done.err;
    const std::vector<fs::path> saved = backups();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(saved[0].filename().string().starts_with("Quillo(S)-"));
    EXPECT_EQ(done.outLines().at(0),
              "The keyboard's key settings and lights were saved to " + saved[0].string());
    EXPECT_NE(done.out.find("quillo-cli write '" + saved[0].string() + "'"), std::string::npos);
    // It holds what the keyboard held.
    EXPECT_EQ(runCli("--sim 3 read -o " + folder.quoted("read.pro")).status, 0);
    EXPECT_EQ(
        runCli("diff '" + saved[0].string() + "' " + folder.quoted("read.pro") + " --variant 3")
            .status,
        0);

    const CliRun bare = runCli("--sim 3 firmware --no-backup " + folder.quoted("Quillo(S)_V2.bin"));
    ASSERT_EQ(bare.status, 0) << bare.err;
    EXPECT_EQ(backups().size(), 1u);
    EXPECT_TRUE(bare.out.starts_with("The Firmware is downloaded successfully.")) << bare.out;

    // Without a folder to save to, nothing is sent.
    const std::string trace = folder.path("trace.txt");
    writeFile(folder.path("blocker"), "a file where the folder would be");
    setenv("XDG_DATA_HOME", folder.path("blocker").c_str(), 1);
    const CliRun refused = runCli("--sim 3 --trace " + folder.quoted("trace.txt") + " firmware "
                                  + folder.quoted("Quillo(S)_V2.bin"));
    setenv("XDG_DATA_HOME", (folder.path("data")).c_str(), 1);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("nothing was sent"), std::string::npos) << refused.err;
    // Firmware records start with the colon of their text.
    EXPECT_EQ(readFile(trace).find("> 00 00 3a"), std::string::npos);
}

// Two macros alike in words differ in their delay, mode or steps: the line says which, for the
// mode that each really has; what a sync brings back differs only in what the keyboard does
// not keep, and says so.
TEST(CliDiff, MacrosSayWhatDiffersAndWhatTheKeyboardKeeps)
{
    TempFolder folder;
    const std::string auto100
        = macroProfile(folder, "a100.pro", macro({"A Down", "A UP"}, true, 100));
    const std::string auto200
        = macroProfile(folder, "a200.pro", macro({"A Down", "A UP"}, true, 200));
    const std::string recorded = macroProfile(
        folder, "rec.pro", macro({"A Down", "<30 ms>", "A UP", "<50 ms>"}, false, 30));
    ActionList toggled = macro({"A Down", "A UP"}, true, 100);
    toggled.playMode = 2;
    const std::string toggle = macroProfile(folder, "toggle.pro", toggled);
    const std::string released
        = macroProfile(folder, "up.pro", macro({"A Down", "A Down"}, true, 100));

    const struct {
        std::string a, b, line;
    } cases[] = {
        {auto100, auto200,
         "2\t0\tMacro\tA,A [auto delay 100 ms]\t->\tMacro\tA,A [auto delay 200 ms]"},
        {auto100, recorded,
         "2\t0\tMacro\tA,A [auto delay 100 ms]\t->\tMacro\tA,30,A,50 [recorded delays]"},
        {auto100, toggle,
         "2\t0\tMacro\tA,A [play mode 0 (times play)]\t->\tMacro\tA,A [play mode 2 (press "
         "to play/stop)]"},
        {auto100, released,
         "2\t0\tMacro\tA,A [step 2: A UP]\t->\tMacro\tA,A [step 2: A Down]\t(same on the "
         "keyboard)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const CliRun run = runCli("diff " + c.a + " " + c.b + " --variant 4");
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.outLines(), std::vector<std::string>{c.line});
    }

    ASSERT_EQ(runCli("--sim 4 sync " + recorded + " -o " + folder.quoted("back.pro")).status, 0);
    const std::string back = folder.quoted("back.pro");
    const CliRun synced = runCli("diff " + recorded + " " + back + " --variant 4");
    EXPECT_EQ(synced.status, 1);
    EXPECT_EQ(synced.outLines(),
              std::vector<std::string>{"2\t0\tMacro\tA,30,A,50 [unused delay 30 ms]\t->\tMacro\t"
                                       "A,30,A [unused delay 0 ms]\t(same on the keyboard)"});
    EXPECT_NE(synced.err.find("--keyboard leaves them out"), std::string::npos) << synced.err;
    const CliRun kept = runCli("diff --keyboard " + recorded + " " + back + " --variant 4");
    EXPECT_EQ(kept.status, 0) << kept.out;
    EXPECT_TRUE(kept.out.empty());
    EXPECT_EQ(runCli("diff --keyboard " + recorded + " " + auto100 + " --variant 4").status, 1);
}
