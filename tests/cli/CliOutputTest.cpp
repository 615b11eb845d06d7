#include "CliRunner.h"

#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char *NoSpace = "cannot write the output: No space left on device";

ActionList steps(std::initializer_list<std::string> names)
{
    ActionList list;
    for (const std::string &name : names)
        list.setAt(20000, name);
    return list;
}

bool hasControls(const std::string &text, const std::string &allowed)
{
    return std::any_of(text.begin(), text.end(), [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 || byte == 0x7F) && allowed.find(c) == std::string::npos;
    });
}

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

// A profile whose names and steps hold what a terminal acts on: it is printed escaped, one
// line per entry with its tabs where they belong; JSON keeps every character.
TEST(CliOutput, ControlCharactersOfAHostileProfileAreEscaped)
{
    const std::string retitle = "\x1b]0;owned\x07\x1b[2J";
    const std::string c1 = "\xc2\x9b"
                           "31m"; // CSI as one C1 character
    const std::string name = "line\nbreak\ttab " + retitle + c1;
    AppState state;
    state.deviceType = 4;
    state.resetKeyModel();
    state.predefinedCombos.setAt(20000, name);
    state.predefinedCombos.items.editBack() = steps({"LCTRL", retitle});
    state.setAssignment(5, 0, {KeyAssignment::Combo, 0, steps({retitle, "A"})});
    TempFolder folder;
    ASSERT_TRUE(writeProfile(state, 4, folder.path("hostile.pro")));
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("plain.pro")).status, 0);
    const std::string hostile = folder.quoted("hostile.pro") + " --variant 4";

    const CliRun show = runCli("show " + hostile);
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_FALSE(hasControls(show.out, "\t\n"));
    const std::vector<std::string> rows = show.outLines();
    ASSERT_EQ(rows.size(), 216u);
    EXPECT_EQ(rows[8], "5\t0\tCombo\t\\x1b]0;owned\\x07\\x1b[2J | A\tF4");

    const CliRun diff = runCli("diff " + folder.quoted("plain.pro") + " " + hostile);
    EXPECT_EQ(diff.status, 1) << diff.err;
    EXPECT_FALSE(hasControls(diff.out, "\t\n"));
    EXPECT_EQ(diff.outLines(),
              (std::vector<std::string>{
                  "5\t0\tSingle\tF4\t->\tCombo\t\\x1b]0;owned\\x07\\x1b[2J | A",
                  "combo\t1\t-\t->\tline\\nbreak\\ttab \\x1b]0;owned\\x07\\x1b[2J\\u009b31m: "
                  "LCTRL | \\x1b]0;owned\\x07\\x1b[2J\t(same on the keyboard)",
              }));

    // A name of the profile in a refusal on stderr.
    const CliRun refused = runCli("set " + hostile + " --key ESC --layer top --combo line -o "
                                  + folder.quoted("out.pro"));
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("\\x1b]0;owned"), std::string::npos) << refused.err;
    EXPECT_FALSE(hasControls(refused.err, "\n"));

    const CliRun json = runCli("show --json " + hostile);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_FALSE(hasControls(json.out, "\n"));
    EXPECT_EQ(json.out.find("\xc2\x9b"), std::string::npos);
    const QJsonObject document
        = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    EXPECT_EQ(document["combos"].toArray()[0].toObject()["name"].toString().toStdString(), name);
}
