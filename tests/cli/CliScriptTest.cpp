#include "CliRunner.h"

#include "cli/JsonReport.h"
#include "model/AppState.h"
#include "profile/ProfileFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// The document a run printed; a parse error fails the test.
QJsonObject parsed(const std::string &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << text;
    EXPECT_TRUE(document.isObject());
    return document.object();
}

std::string field(const std::string &line, int n)
{
    std::size_t start = 0;
    for (int i = 0; i < n; ++i)
        start = line.find('\t', start) + 1;
    return line.substr(start, line.find('\t', start) - start);
}

std::string str(const QJsonValue &value)
{
    return value.toString().toStdString();
}

ActionList steps(std::initializer_list<const char *> names)
{
    ActionList list;
    for (const char *name : names)
        list.setAt(20000, name);
    return list;
}

// A profile of `variant` with two combinations and a macro without steps.
void writeListsProfile(const std::filesystem::path &path, int variant)
{
    AppState state;
    state.deviceType = variant;
    state.resetKeyModel();
    state.predefinedCombos.setAt(20000, "copy");
    state.predefinedCombos.items.editBack() = steps({"LCTRL", "C"});
    state.predefinedCombos.setAt(20000, "paste");
    state.predefinedCombos.items.editBack() = steps({"LCTRL", "V"});
    state.predefinedMacros.setAt(20000, "empty");
    ASSERT_TRUE(writeProfile(state, state.deviceType, path));
}

} // namespace

TEST(CliJson, EveryCommandPrintsOneDocumentWithTheTextsContent)
{
    const QJsonObject detect = parsed(runCli("--sim 4 detect --json").out);
    EXPECT_EQ(detect["variant"].toInt(), 4);
    EXPECT_EQ(str(detect["model"]), "Quillo(RGB)");
    const CliRun none = runCli("detect --json");
    EXPECT_EQ(none.status, 3);
    EXPECT_EQ(parsed(none.out)["variant"].toInt(), 0);
    EXPECT_EQ(str(parsed(runCli("--sim 3 version --json").out)["version"]), "V1.0");

    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 1 -o " + folder.quoted("a.pro")).status, 0);
    const std::string a = " " + folder.quoted("a.pro") + " --variant 1";
    const std::vector<std::string> text = runCli("show" + a).outLines();
    const QJsonArray keys = parsed(runCli("show --json" + a).out)["keys"].toArray();
    ASSERT_EQ(keys.size(), 216);
    ASSERT_EQ(text.size(), 216u);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QJsonObject key = keys[i].toObject();
        const std::string &line = text[std::size_t(i)];
        EXPECT_EQ(std::to_string(key["key"].toInt()), field(line, 0)) << line;
        EXPECT_EQ(std::to_string(key["layer"].toInt()), field(line, 1)) << line;
        EXPECT_EQ(str(key["categoryName"]), field(line, 2)) << line;
        EXPECT_EQ(str(key["summary"]), field(line, 3)) << line;
    }
    EXPECT_EQ(str(keys[53].toObject()["name"]), "BACKSPACE");

    // Every difference of the text, and the same status.
    ASSERT_EQ(runCli("set" + a + " --key ESC --layer fn --power Sleep -o " + folder.quoted("b.pro"))
                  .status,
              0);
    ASSERT_EQ(runCli("lights " + folder.quoted("b.pro") + " --variant 1 --key F1=#FF0000 -o "
                     + folder.quoted("b.pro"))
                  .status,
              0);
    const std::string ab
        = " " + folder.quoted("a.pro") + " " + folder.quoted("b.pro") + " --variant 1";
    const CliRun diffText = runCli("diff" + ab);
    const CliRun diffJson = runCli("diff --json" + ab);
    EXPECT_EQ(diffJson.status, 1);
    EXPECT_EQ(diffText.status, 1);
    const QJsonObject diff = parsed(diffJson.out);
    EXPECT_FALSE(diff["equal"].toBool());
    const QJsonArray differences = diff["differences"].toArray();
    ASSERT_EQ(differences.size(), 2);
    EXPECT_EQ(diffText.outLines().size(), 2u);
    EXPECT_EQ(str(differences[0].toObject()["after"].toObject()["categoryName"]), "Power");
    EXPECT_EQ(str(differences[1].toObject()["kind"]), "light");
    EXPECT_EQ(differences[1].toObject()["after"].toObject()["red"].toInt(), 255);

    const std::vector<std::string> counted = runCli("--sim 1 counters").outLines();
    const QJsonObject counters = parsed(runCli("--sim 1 counters --json").out);
    const QJsonArray counts = counters["counts"].toArray();
    ASSERT_EQ(counts.size(), 108);
    ASSERT_EQ(counted.size(), 110u);
    EXPECT_EQ("highest\t" + str(counters["highest"].toObject()["caption"]), counted[0]);
    for (qsizetype i = 0; i < counts.size(); ++i) {
        const QJsonObject key = counts[i].toObject();
        EXPECT_EQ(std::to_string(key["key"].toInt()) + '\t' + std::to_string(key["count"].toInt())
                      + '\t' + str(key["name"]),
                  counted[std::size_t(i) + 2]);
    }
}

TEST(CliJson, NamesOfAnyKindReadBackUnchanged)
{
    AppState state;
    state.deviceType = 4;
    state.resetKeyModel();
    const std::string name = "say \"hi\" \\ tab\t bell\x07 nl\n 复制 \xff";
    state.predefinedCombos.setAt(20000, name);
    state.predefinedCombos.items.editBack() = steps({"LCTRL", "C"});
    const QJsonObject document = parsed(JsonReport::text(JsonReport::show(state)));
    const QJsonObject entry = document["combos"].toArray()[0].toObject();
    // A byte that is no UTF-8 becomes the replacement character; everything else stays.
    EXPECT_EQ(str(entry["name"]), name.substr(0, name.size() - 1) + "\xEF\xBF\xBD");
    EXPECT_EQ(str(entry["summary"]), "LCTRL | C");
}

TEST(CliSet, RefusalsNameTheClosestAndLeaveOutAlone)
{
    TempFolder folder;
    writeListsProfile(folder.path("in.pro"), 4);
    const std::string in = "set " + folder.quoted("in.pro") + " --variant 4 ";
    const std::string out = " -o " + folder.quoted("out.pro");
    const struct {
        std::string arguments;
        std::string reason;
        int status;
    } refusals[] = {
        {"--key BACKSPCE --layer top --single A", "unknown key 'BACKSPCE'; closest: BACKSPACE", 2},
        {"--key 0 --layer top --clear", "key number 0 is not one of 1..108", 2},
        {"--key 27 --layer top --single lshft", "unknown single key 'lshft'; closest: LSHIFT", 2},
        {"--key 27 --layer fn --combo past", "unknown combination 'past'; closest: paste", 2},
        {"--key 27 --layer fn --macro bye", "closest: empty", 2},
        {"--key 27 --layer fn --macro empty", "macro 'empty' has no steps", 2},
        {"--key 27 --layer fn --emulation run", "the profile has no emulations", 2},
        {"--key 27 --layer fn --multimedia 音量", "closest: 音量减小, 音量加大", 2},
        {"--key 27 --layer fn --multimedia 'volume upp'", "closest: Volume Up, VolumeUp", 2},
        {"--key 27 --layer fn --multimedia 停止", "names more than one multimedia name", 2},
        {"--key 27 --layer fn --function 'Game mode'", "not offered on Quillo(RGB)", 2},
        {"--key 27 --layer middle --clear", "try 'quillo-cli set --help'", 2},
        {"--key 27 --layer top --clear --default", "try 'quillo-cli set --help'", 2},
    };
    for (const auto &refusal : refusals) {
        SCOPED_TRACE(refusal.arguments);
        writeFile(folder.path("out.pro"), "kept");
        const CliRun run = runCli(in + refusal.arguments + out);
        EXPECT_EQ(run.status, refusal.status);
        EXPECT_NE(run.err.find(refusal.reason), std::string::npos) << run.err;
        EXPECT_EQ(readFile(folder.path("out.pro")), "kept");
    }

    // An IN that cannot be read, or is damaged, is a failure; --lenient reads what it can.
    std::string damaged = readFile(folder.path("in.pro"));
    damaged.resize(damaged.size() / 2);
    writeFile(folder.path("damaged.pro"), damaged);
    for (const char *bad : {"missing.pro", "damaged.pro"}) {
        SCOPED_TRACE(bad);
        const CliRun run = runCli("set " + folder.quoted(bad)
                                  + " --variant 4 --key 27 --layer top --clear" + out);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(readFile(folder.path("out.pro")), "kept");
    }
    // Never a plain file in place of a pipe.
    ASSERT_EQ(::mkfifo(folder.path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(runCli(in + "--key 27 --layer top --clear -o " + folder.quoted("fifo")).status, 1);
    EXPECT_FALSE(std::filesystem::is_regular_file(folder.path("fifo")));
    EXPECT_EQ(runCli("set --lenient " + folder.quoted("damaged.pro")
                     + " --variant 4 --key 27 --layer top --clear" + out)
                  .status,
              0);
    EXPECT_NE(readFile(folder.path("out.pro")), "kept");
}

TEST(CliLights, WebColoursArriveAsRedGreenBlueOnRgbModelsOnly)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 1 -o " + folder.quoted("rgb.pro")).status, 0);
    const CliRun lights
        = runCli("lights " + folder.quoted("rgb.pro")
                 + " --variant 1 --all '#102030' --key ESC=#FF8000 --key '==#0000ff' --key "
                   "108=#00ff00 -o "
                 + folder.quoted("lit.pro"));
    ASSERT_EQ(lights.status, 0) << lights.err;

    AppState read;
    read.deviceType = 1;
    read.resetKeyModel();
    ASSERT_EQ(readProfile(read, read.pressCounters, read.deviceType, folder.path("lit.pro")),
              ProfileReadResult::Ok);
    EXPECT_EQ(read.lightSettings[1], (LightColour{255, 128, 0}));
    EXPECT_EQ(read.lightSettings[26], (LightColour{0, 0, 255}));
    EXPECT_EQ(read.lightSettings[108], (LightColour{0, 255, 0}));
    EXPECT_EQ(read.lightSettings[2], (LightColour{16, 32, 48}));
    const QJsonArray shown
        = parsed(runCli("show --json " + folder.quoted("lit.pro") + " --variant 1").out)["lights"]
              .toArray();
    ASSERT_EQ(shown.size(), 108);
    EXPECT_EQ(str(shown[0].toObject()["colour"]), "#FF8000");
    EXPECT_EQ(str(shown[0].toObject()["name"]), "ESC");
    EXPECT_EQ(str(shown[107].toObject()["colour"]), "#00FF00");

    ASSERT_EQ(runCli("defaults --variant 2 -o " + folder.quoted("s.pro")).status, 0);
    const struct {
        std::string arguments;
        std::string reason;
    } refusals[] = {
        {folder.quoted("s.pro") + " --variant 2 --all '#FFFFFF'",
         "Quillo(S)BLe keyboards have no per-key colours"},
        {folder.quoted("rgb.pro") + " --variant 1 --key ESC=#12345", "'#12345' is not a colour"},
        {folder.quoted("rgb.pro") + " --variant 1 --key ESC", "'ESC' is not KEY=#RRGGBB"},
        {folder.quoted("rgb.pro") + " --variant 1 --key F1=#000000 --key ESCC=#000000",
         "unknown key 'ESCC'; closest: ESC"},
        {folder.quoted("rgb.pro") + " --variant 1", "lights needs --key"},
    };
    for (const auto &refusal : refusals) {
        SCOPED_TRACE(refusal.arguments);
        writeFile(folder.path("out.pro"), "kept");
        const CliRun run
            = runCli("lights " + refusal.arguments + " -o " + folder.quoted("out.pro"));
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(refusal.reason), std::string::npos) << run.err;
        EXPECT_EQ(readFile(folder.path("out.pro")), "kept");
    }
}
