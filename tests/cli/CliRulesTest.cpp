#include "CliRunner.h"

#include "cli/CliCommands.h"
#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {

QJsonObject parsed(const std::string &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << text;
    return document.object();
}

std::string str(const QJsonValue &value)
{
    return value.toString().toStdString();
}

std::vector<std::string> fields(const std::string &line)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        result.push_back(line.substr(start, tab - start));
    result.push_back(line.substr(start));
    return result;
}

int lineCount(const std::string &text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

ActionList steps(int pageRows, std::initializer_list<const char *> names)
{
    ActionList list(pageRows);
    for (const char *name : names)
        list.setAt(20000, name);
    return list;
}

// A Quillo(S) profile with a key of every category on the top layer, keys 1..9.
void writeEveryCategory(const fs::path &path)
{
    AppState state;
    state.deviceType = 3;
    state.resetKeyModel();
    state.setAssignment(1, 0, {KeyAssignment::NotSet, 0, {}});
    state.setAssignment(2, 0, {KeyAssignment::Single, 43, {}});
    state.setAssignment(3, 0, {KeyAssignment::Combo, 4, steps(6, {"LCTRL", "C"})});
    ActionList macro = steps(9, {"A Down", "<30 ms>", "A UP"});
    macro.times = 3;
    state.setAssignment(4, 0, {KeyAssignment::Macro, 5, macro});
    ActionList emulation = steps(9, {"W", "A"});
    emulation.delayMs = 250;
    state.setAssignment(5, 0, {KeyAssignment::Emulation, 6, emulation});
    state.setAssignment(6, 0, {KeyAssignment::Multimedia, 117, {}});
    state.setAssignment(7, 0, {KeyAssignment::Mouse, 199, {}});
    state.setAssignment(8, 0, {KeyAssignment::Function, 153, {}});
    state.setAssignment(9, 0, {KeyAssignment::Power, 77, {}});
    ASSERT_TRUE(writeProfile(state, state.deviceType, path));
}

} // namespace

// A profile names its model: nothing else is needed; --variant reads it as another, and says so.
TEST(CliRules, TheVariantComesFromTheProfilesRoot)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 3 -o " + folder.quoted("s.pro")).status, 0);
    const std::string s = folder.quoted("s.pro");
    const CliRun set = runCli("set " + s + " --key CAPS\\ LOCK --layer top --single LCTRL -o "
                              + folder.quoted("set.pro"));
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(runCli("lights " + folder.quoted("rgb.pro") + " --all '#102030' -o "
                     + folder.quoted("lit.pro"))
                  .status,
              1); // no such file: the data's status, not usage
    const CliRun shown = runCli("show --json " + s);
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(str(parsed(shown.out)["model"]), "Quillo(S)");
    EXPECT_TRUE(shown.err.empty()) << shown.err;

    const CliRun asRgb = runCli("convert " + s + " --variant 4 -o " + folder.quoted("rgb.pro"));
    EXPECT_EQ(asRgb.status, 0) << asRgb.err;
    EXPECT_EQ(asRgb.err, "quillo-cli: note: " + folder.path("s.pro").string()
                             + " is a profile of the Quillo(S); it is read as one of the "
                               "Quillo(RGB), as --variant asks\n");
    EXPECT_NE(readFile(folder.path("rgb.pro")).find("\r\n<Quillo(RGB)>\r\n"), std::string::npos);
    EXPECT_EQ(runCli("lights " + folder.quoted("rgb.pro") + " --all '#102030' -o "
                     + folder.quoted("lit.pro"))
                  .status,
              0);
}

// "-" is standard input for IN and standard output for OUT; no file is named "-".
TEST(CliRules, DashIsStandardInputAndOutput)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("a.pro")).status, 0);
    const std::string a = folder.path("a.pro").string();
    const fs::path before = fs::current_path();
    fs::current_path(folder.path(""));

    const CliRun piped = runCli("show -", {}, a);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(piped.out == runCli("show '" + a + "'").out);
    const CliRun through = runCli("convert - -o -", {}, a);
    EXPECT_EQ(through.status, 0) << through.err;
    EXPECT_TRUE(through.out == readFile(a));
    const CliRun read = runCli("--sim 4 read -o -");
    EXPECT_EQ(read.status, 0) << read.err;
    ASSERT_EQ(runCli("--sim 4 read -o read.pro").status, 0);
    EXPECT_TRUE(read.out == readFile(folder.path("read.pro")));
    EXPECT_EQ(runCli("diff read.pro -", {}, folder.path("read.pro").string()).status, 0);
    writeFile(folder.path("none"), "not a profile");
    const CliRun damaged = runCli("show -", {}, folder.path("none").string());
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("standard input: The file is not a configuration file."),
              std::string::npos)
        << damaged.err;

    for (const std::string &bad :
         std::vector<std::string>{"diff - -", "convert '" + a + "' -o - --json",
                                  "--sim 4 counters --heatmap -", "--sim 4 firmware -"}) {
        SCOPED_TRACE(bad);
        const CliRun refused = runCli(bad, {}, a);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(lineCount(refused.err), 1) << refused.err;
    }
    EXPECT_FALSE(fs::exists(folder.path("-")));
    fs::current_path(before);
}

// Every command has its own --help, made from the table the manual page is made from; a
// usage error is one line that says where to look.
TEST(CliRules, EachCommandHasItsOwnHelpAndAUsageErrorIsOneLine)
{
    const CliRun overview = runCli("--help");
    ASSERT_EQ(overview.status, 0);
    for (const CliCommands::Command &command : CliCommands::all()) {
        const std::string name = command.name;
        SCOPED_TRACE(name);
        EXPECT_NE(overview.out.find("\n  " + name + " "), std::string::npos);
        const CliRun help = runCli(name + " --help");
        EXPECT_EQ(help.status, 0);
        // The usage, wrapped to the terminal's width.
        std::string usage;
        for (const char c : help.out.substr(0, help.out.find("\n\n"))) {
            if (c != ' ' && c != '\n')
                usage += c;
            else if (!usage.ends_with(' '))
                usage += ' ';
        }
        EXPECT_EQ(usage, "Usage: " + CliCommands::synopsis(command));
        for (const CliCommands::Option &option : command.options)
            EXPECT_NE(help.out.find("\n  " + std::string(option.term)), std::string::npos)
                << option.term;
        EXPECT_LT(help.out.size(), overview.out.size() + 1000);
        EXPECT_EQ(runCli("--help " + name).out, help.out);

        const CliRun wrong = runCli(name + " --no-such-option");
        EXPECT_EQ(wrong.status, 2);
        EXPECT_EQ(lineCount(wrong.err), 1) << wrong.err;
        EXPECT_TRUE(wrong.err.ends_with("; try 'quillo-cli " + name + " --help'\n")) << wrong.err;
        EXPECT_TRUE(wrong.out.empty());
    }
}

// The status says what kind of trouble it was, the same in every command; with --json the
// failure is a document on stdout as well.
TEST(CliRules, ExitStatusSaysWhatKindOfTroubleItWas)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("a.pro")).status, 0);
    ASSERT_EQ(runCli("set " + folder.quoted("a.pro") + " --key ESC --layer top --clear -o "
                     + folder.quoted("b.pro"))
                  .status,
              0);
    const std::string a = folder.quoted("a.pro");
    const std::string missing = folder.quoted("missing.pro");
    writeFile(folder.path("Quillo(RGB)_V2.bin"), ":0400000001020304F2\r\n:00000001FF\r\n");
    const struct {
        std::string arguments;
        int status;
        bool failure = true;
    } runs[] = {
        {"show " + missing, 1},
        {"convert " + a + " -o " + folder.quoted("no/out.pro"), 1},
        {"--sim 4 write " + missing, 1},
        {"show " + a + " --frobnicate", 2},
        {"set " + a + " --key NOSUCH --layer top --clear -o " + folder.quoted("c.pro"), 2},
        {"detect", 3},
        {"version", 3},
        {"counters", 3},
        {"read -o " + folder.quoted("r.pro"), 3},
        {"write " + a, 3},
        {"sync " + a + " -o " + folder.quoted("r.pro"), 3},
        {"firmware " + folder.quoted("Quillo(RGB)_V2.bin"), 3},
        // diff keeps diff(1)'s meaning, whatever went wrong.
        {"diff " + a + " " + a, 0, false},
        {"diff " + a + " " + folder.quoted("b.pro"), 1, false},
        {"diff " + a + " " + missing, 2},
        {"diff " + a, 2},
    };
    for (const auto &run : runs) {
        SCOPED_TRACE(run.arguments);
        const CliRun text = runCli(run.arguments);
        EXPECT_EQ(text.status, run.status) << text.err;
        if (!run.failure)
            continue;
        EXPECT_FALSE(text.err.empty());
        const CliRun json = runCli(run.arguments + " --json");
        EXPECT_EQ(json.status, run.status);
        const QJsonObject failure = parsed(json.out);
        EXPECT_FALSE(str(failure["error"]).empty()) << json.out;
        // diff's document keeps the kind of trouble; its exit status is diff(1)'s.
        if (!run.arguments.starts_with("diff")) {
            EXPECT_EQ(failure["status"].toInt(), run.status);
        }
    }
}

// --json says all that show says and more: every key's code, whatever its category, the steps
// and their settings; diff gives both sides whole; the commands that act answer too.
TEST(CliRules, JsonCarriesEverythingAndEveryCommandAnswersInIt)
{
    TempFolder folder;
    writeEveryCategory(folder.path("every.pro"));
    const std::string every = folder.quoted("every.pro");
    const std::vector<std::string> lines = runCli("show " + every).outLines();
    const QJsonArray keys = parsed(runCli("show --json " + every).out)["keys"].toArray();
    ASSERT_EQ(lines.size(), 216u);
    ASSERT_EQ(keys.size(), 216);
    AppState state;
    state.deviceType = 3;
    state.resetKeyModel();
    ASSERT_EQ(readProfile(state, state.pressCounters, 3, folder.path("every.pro")),
              ProfileReadResult::Ok);
    std::vector<bool> seen(9, false);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QJsonObject key = keys[i].toObject();
        const std::vector<std::string> text = fields(lines[std::size_t(i)]);
        ASSERT_EQ(text.size(), 5u) << lines[std::size_t(i)];
        EXPECT_EQ(std::to_string(key["key"].toInt()), text[0]);
        EXPECT_EQ(std::to_string(key["layer"].toInt()), text[1]);
        EXPECT_EQ(str(key["categoryName"]), text[2]);
        EXPECT_EQ(str(key["summary"]), text[3]);
        EXPECT_EQ(str(key["name"]), text[4]);
        const KeyAssignment assignment = state.assignment(key["key"].toInt(), key["layer"].toInt());
        seen[std::size_t(assignment.category)] = true;
        ASSERT_TRUE(key.contains("code")) << lines[std::size_t(i)];
        EXPECT_EQ(key["code"].toInt(), assignment.code);
        const bool steps = assignment.category >= 2 && assignment.category <= 4;
        ASSERT_EQ(key.contains("action"), steps);
        if (steps) {
            const QJsonObject action = key["action"].toObject();
            EXPECT_EQ(action["steps"].toArray().size(), assignment.action.size());
            EXPECT_EQ(action["times"].toInt(), assignment.action.times);
            EXPECT_EQ(action["delayMs"].toInt(), assignment.action.delayMs);
        }
    }
    EXPECT_EQ(seen, std::vector<bool>(9, true));

    ASSERT_EQ(runCli("defaults --variant 3 -o " + folder.quoted("plain.pro")).status, 0);
    const QJsonArray differences
        = parsed(
              runCli("diff --json " + folder.quoted("plain.pro") + " " + every).out)["differences"]
              .toArray();
    const auto keyDifference = [&](int number) {
        for (const QJsonValue &d : differences) {
            if (d.toObject()["kind"] == "key" && d.toObject()["key"].toInt() == number)
                return d.toObject();
        }
        return QJsonObject();
    };
    const QJsonObject macro = keyDifference(4)["after"].toObject();
    EXPECT_EQ(macro["category"].toInt(), 3);
    EXPECT_EQ(macro["code"].toInt(), 5);
    EXPECT_EQ(macro["action"].toObject()["times"].toInt(), 3);
    EXPECT_EQ(macro["action"].toObject()["steps"].toArray().at(1).toString(), "<30 ms>");
    EXPECT_EQ(keyDifference(4)["before"].toObject()["code"].toInt(), 4); // F3's own
    EXPECT_EQ(keyDifference(9)["after"].toObject()["code"].toInt(), 77);

    const QJsonObject version = parsed(runCli("--sim 3 version --json").out);
    EXPECT_EQ(str(version["model"]), "Quillo(S)");
    EXPECT_EQ(str(version["version"]), "V1.0");
    const std::vector<std::string> acting = {"write " + every, "read -o " + folder.quoted("r.pro"),
                                             "sync " + every + " -o " + folder.quoted("s.pro")};
    for (const std::string &command : acting) {
        SCOPED_TRACE(command);
        const CliRun run = runCli("--sim 3 " + command + " --json");
        EXPECT_EQ(run.status, 0) << run.err;
        const QJsonObject done = parsed(run.out);
        EXPECT_EQ(str(done["command"]), command.substr(0, command.find(' ')));
        EXPECT_EQ(str(done["model"]), "Quillo(S)");
    }
    writeFile(folder.path("Quillo(S)_V2.bin"), ":0400000001020304F2\r\n:00000001FF\r\n");
    const QJsonObject firmware
        = parsed(runCli("--sim 3 firmware --json " + folder.quoted("Quillo(S)_V2.bin")).out);
    EXPECT_TRUE(firmware["downloaded"].toBool());
    EXPECT_TRUE(fs::is_regular_file(str(firmware["backup"]))) << str(firmware["backup"]);
}
