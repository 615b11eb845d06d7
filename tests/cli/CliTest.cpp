#include "CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

int lineCount(const std::string &text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

// A failure says why in exactly one line on stderr and prints nothing else.
void expectFailure(const CliRun &run, const std::string &reason, int status = 1)
{
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
}

std::string intelHexRecord(int address, const std::vector<int> &data, int type = 0)
{
    static const char digits[] = "0123456789ABCDEF";
    std::vector<int> bytes = {int(data.size()), address >> 8, address & 0xFF, type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    int sum = 0;
    for (int byte : bytes)
        sum += byte;
    bytes.push_back((256 - (sum & 0xFF)) & 0xFF);
    std::string line = ":";
    for (int byte : bytes) {
        line += digits[byte >> 4];
        line += digits[byte & 0xF];
    }
    return line + "\r\n";
}

} // namespace

TEST(Cli, UsageHelpAndBadArguments)
{
    const CliRun help = runCli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("sync"), std::string::npos);
    EXPECT_NE(help.out.find("--trace"), std::string::npos);

    for (const char *bad : {"", "frobnicate", "--sim 5 detect", "--sim x detect",
                            "defaults -o x.pro", "defaults --variant 9 -o x.pro", "convert in.pro",
                            "read", "write", "firmware", "show a.pro b.pro"}) {
        SCOPED_TRACE(bad);
        const CliRun run = runCli(bad);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("--help'"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(Cli, DetectVersionAndCountersOfTheEmulatedKeyboard)
{
    const CliRun detect = runCli("--sim 4 detect");
    EXPECT_EQ(detect.status, 0);
    EXPECT_EQ(detect.out, "4 Quillo(RGB)\n");
    EXPECT_EQ(runCli("--sim 2 detect").out, "2 Quillo(S)BLe\n");

    const CliRun version = runCli("--sim 3 version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "V1.0\n");

    const CliRun counters = runCli("--sim 1 counters");
    ASSERT_EQ(counters.status, 0) << counters.err;
    const std::vector<std::string> out = lines(counters.out);
    ASSERT_EQ(out.size(), 110u);
    EXPECT_TRUE(out[0].starts_with("highest\t"));
    EXPECT_TRUE(out[1].starts_with("lowest\t"));
    EXPECT_NE(out[0], "highest\t-");
    EXPECT_EQ(out[2].substr(0, 2), "1\t");
    EXPECT_EQ(out[109].substr(0, 4), "108\t");
    for (std::size_t i = 2; i < out.size(); ++i)
        EXPECT_GE(std::stol(out[i].substr(out[i].find('\t') + 1)), 0) << out[i];
}

TEST(Cli, WithoutAKeyboardDeviceCommandsFail)
{
    // No keyboard of the family is attached to a test machine.
    const CliRun detect = runCli("detect");
    EXPECT_EQ(detect.out, "0\n");
    expectFailure(detect, "quillo-cli: no keyboard attached", 3);
    expectFailure(runCli("version"), "no keyboard", 3);
    expectFailure(runCli("counters"), "no keyboard", 3);
}

TEST(Cli, DefaultsConvertAndShow)
{
    TempFolder folder;
    const CliRun defaults = runCli("defaults --variant 3 -o " + folder.quoted("s.pro"));
    ASSERT_EQ(defaults.status, 0) << defaults.err;
    const std::string profile = readFile(folder.path("s.pro"));
    EXPECT_TRUE(
        profile.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Quillo(S)>\r\n"));

    const CliRun convert = runCli("convert " + folder.quoted("s.pro") + " -o "
                                  + folder.quoted("copy.pro") + " --variant 3");
    ASSERT_EQ(convert.status, 0) << convert.err;
    EXPECT_EQ(readFile(folder.path("copy.pro")), profile);

    const CliRun show = runCli("show " + folder.quoted("s.pro") + " --variant 3");
    ASSERT_EQ(show.status, 0) << show.err;
    const std::vector<std::string> rows = lines(show.out);
    ASSERT_EQ(rows.size(), 216u);
    EXPECT_EQ(rows[0], "1\t0\tSingle\tESC\tESC");
    EXPECT_EQ(rows[1], "1\t1\tNot set\t\tESC"); // variant 3 has no keyboard lock
    EXPECT_EQ(rows[143], "72\t1\tFunction\tFN\tFN");
    EXPECT_EQ(rows[215], "108\t1\tNot set\t\t(Enter)");

    // The profile names its model: --variant is not needed.
    const CliRun named = runCli("show " + folder.quoted("s.pro"));
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(named.out, show.out);
}

TEST(Cli, ReadSavesWhatTheKeyboardHolds)
{
    TempFolder folder;
    const CliRun read = runCli("--sim 2 read -o " + folder.quoted("kb.pro"));
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(read.out.empty());
    // A keyboard fresh from the factory holds its variant's defaults.
    const CliRun shown = runCli("show " + folder.quoted("kb.pro") + " --variant 2");
    ASSERT_EQ(shown.status, 0) << shown.err;
    const CliRun defaults = runCli("defaults --variant 2 -o " + folder.quoted("d.pro"));
    ASSERT_EQ(defaults.status, 0);
    EXPECT_EQ(shown.out, runCli("show " + folder.quoted("d.pro") + " --variant 2").out);
    expectFailure(runCli("read -o " + folder.quoted("none.pro")), "no keyboard", 3);
    EXPECT_FALSE(std::filesystem::exists(folder.path("none.pro")));

    // Never a plain file in place of a pipe or a device (one of our own, not one in /dev).
    ASSERT_EQ(::mkfifo(folder.path("fifo").c_str(), 0600), 0);
    std::vector<std::pair<std::string, std::string>> special = {{"fifo", "a FIFO"}};
    if (::mknod(folder.path("full").c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0)
        special.emplace_back("full", "a character device");
    for (const auto &[name, kind] : special) {
        SCOPED_TRACE(name);
        expectFailure(runCli("--sim 2 read -o " + folder.quoted(name)),
                      folder.path(name).string()
                          + ": The configuration file could not be saved. It is " + kind);
        EXPECT_FALSE(std::filesystem::is_regular_file(folder.path(name)));
    }
}

TEST(Cli, BadProfilesFailAndWriteNothing)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 2 -o " + folder.quoted("s.pro")).status, 0);

    expectFailure(runCli("convert " + folder.quoted("missing.pro") + " -o "
                         + folder.quoted("out.pro") + " --variant 2"),
                  "missing.pro");
    writeFile(folder.path("garbage.pro"), std::string("\x01\x02 not a profile \xff", 19));
    expectFailure(runCli("show " + folder.quoted("garbage.pro") + " --variant 2"), "garbage.pro");
    // What goes to the keyboard must be of its model.
    expectFailure(runCli("--sim 4 write " + folder.quoted("s.pro")),
                  "s.pro: The configuration file belongs to another keyboard model. It is a "
                  "profile of the Quillo(S)BLe; the keyboard is a Quillo(RGB).");
    EXPECT_FALSE(std::filesystem::exists(folder.path("out.pro")));

    expectFailure(runCli("defaults --variant 1 -o " + folder.quoted("no/such/folder.pro")),
                  "folder.pro");
}

TEST(Cli, TraceOfAWriteShowsTheRecords)
{
    TempFolder folder;
    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("rgb.pro")).status, 0);
    const CliRun write = runCli("--sim 4 --trace " + folder.quoted("trace.txt") + " write "
                                + folder.quoted("rgb.pro"));
    ASSERT_EQ(write.status, 0) << write.err;

    const std::vector<std::string> trace = lines(readFile(folder.path("trace.txt")));
    const auto position = [&](const std::string &start) {
        return std::find_if(trace.begin(), trace.end(),
                            [&](const std::string &line) { return line.starts_with(start); })
               - trace.begin();
    };
    for (const std::string &line : trace) {
        ASSERT_TRUE(line.starts_with("> ") || line.starts_with("< ")) << line;
        EXPECT_EQ(line.size(), line[0] == '>' ? 2 + 65 * 3 - 1 : 2 + 64 * 3 - 1) << line;
    }
    const long writeCommand = position("> 00 00 f1 00");
    ASSERT_LT(writeCommand, long(trace.size()));
    // Esc on the top layer: a normal record with its one code; then the Fn layer's first key.
    EXPECT_TRUE(trace[std::size_t(writeCommand + 1)].starts_with("> 00 00 f0 01 01 00 01 01 00"));
    EXPECT_TRUE(trace[std::size_t(writeCommand + 109)].starts_with("> 00 00 f0 02 01 00 00 00"));
    const std::string end = "> 00 00" + [] {
        std::string bytes;
        for (int i = 0; i < 63; ++i)
            bytes += " f6";
        return bytes;
    }();
    EXPECT_EQ(trace[std::size_t(writeCommand + 217)], end);

    // The RGB variant's lights follow: command, six data reports, the end report.
    const long lights = position("> 00 00 e1 00");
    ASSERT_LT(lights, long(trace.size()));
    EXPECT_GT(lights, writeCommand);
    EXPECT_TRUE(trace[std::size_t(lights + 1)].starts_with("> 00 00 e0 3d"));
    EXPECT_TRUE(trace[std::size_t(lights + 6)].starts_with("> 00 00 e0 13"));
    EXPECT_TRUE(trace[std::size_t(lights + 7)].starts_with("> 00 e6 e6 e6"));
}

TEST(Cli, FirmwareDownloadAndRefusals)
{
    TempFolder folder;
    const std::string image = intelHexRecord(0, {0x01, 0x02, 0x03, 0x04})
                              + intelHexRecord(4, {0xAA, 0xBB}) + intelHexRecord(0, {}, 1);
    writeFile(folder.path("Quillo(RGB)_V2.bin"), image);
    const CliRun done = runCli("--sim 4 firmware " + folder.quoted("Quillo(RGB)_V2.bin"));
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_NE(done.out.find("\nThe Firmware is downloaded successfully."), std::string::npos)
        << done.out;
    EXPECT_TRUE(done.err.empty()) << done.err; // no progress bar off a terminal

    writeFile(folder.path("Quillo(S)_V2.bin"), image);
    expectFailure(runCli("--sim 4 firmware " + folder.quoted("Quillo(S)_V2.bin")),
                  "The firmware does not match,please select Quillo(RGB)");
    expectFailure(runCli("--sim 3 firmware " + folder.quoted("Quillo(RGB)_V2.bin")),
                  "The firmware does not match,please select Quillo(S)");
    // A file that cannot be read is named, whatever its name says.
    for (const char *name : {"Quillo(RGB)_missing.bin", "Quillo(S)_missing.bin"})
        expectFailure(runCli("--sim 4 firmware " + folder.quoted(name)),
                      "Can't open firmware file " + folder.path(name).string()
                          + ": there is no such file.");
    std::filesystem::create_directory(folder.path("Quillo(RGB)_dir.bin"));
    expectFailure(runCli("--sim 4 firmware " + folder.quoted("Quillo(RGB)_dir.bin")),
                  "Quillo(RGB)_dir.bin: it is a folder.");

    // A damaged image is refused with its reason, before the keyboard is opened.
    writeFile(folder.path("Quillo(RGB)_bad.bin"), ":0400000001020304FF\r\n:00000001FF\r\n");
    const std::string trace = folder.path("trace.txt");
    expectFailure(runCli("--sim 4 --trace " + folder.quoted("trace.txt") + " firmware "
                         + folder.quoted("Quillo(RGB)_bad.bin")),
                  "The firmware file is damaged: bad checksum in line 1. Nothing was sent to "
                  "the keyboard.");
    EXPECT_TRUE(readFile(trace).empty());
    writeFile(folder.path("Quillo(RGB)_cut.bin"), ":0400000001020304F2\r\n");
    expectFailure(runCli("--sim 4 firmware " + folder.quoted("Quillo(RGB)_cut.bin")),
                  "The firmware file is damaged: there is no end-of-file record.");
}

// Files that cannot serve are named for what they are: a folder, a file beyond the size
// limit, an endless device; a read-only OUT is kept; the path is not repeated as a sentence.
TEST(Cli, FileFaultsAreNamedForWhatTheyAre)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path("adir"));
    {
        std::ofstream sparse(folder.path("huge.pro"), std::ios::binary);
        sparse.seekp(300 << 20);
        sparse.put('x');
    }
    const struct {
        std::string in;
        std::string message;
    } reads[] = {
        {folder.path("adir").string(), "It is a folder, not a file."},
        {folder.path("huge.pro").string(),
         "The file is larger than 256 MiB; no profile is that large."},
        {"/dev/zero", "The file is larger than 256 MiB; no profile is that large."},
        {folder.path("missing.pro").string(),
         "The file could not be opened: No such file or directory."},
    };
    for (const auto &read : reads) {
        SCOPED_TRACE(read.in);
        expectFailure(runCli("show '" + read.in + "' --variant 4"), read.in + ": " + read.message);
    }

    ASSERT_EQ(runCli("defaults --variant 4 -o " + folder.quoted("a.pro")).status, 0);
    expectFailure(runCli("convert " + folder.quoted("a.pro") + " --variant 4 -o "
                         + folder.quoted("adir") + "/"),
                  folder.path("adir").string()
                      + "/: The configuration file could not be saved. The path ends in a "
                        "folder, not in a file name.");
    writeFile(folder.path("kept.pro"), "kept");
    std::filesystem::permissions(folder.path("kept.pro"), std::filesystem::perms::owner_read);
    expectFailure(runCli("convert " + folder.quoted("a.pro") + " --variant 4 -o "
                         + folder.quoted("kept.pro")),
                  "kept.pro: The configuration file could not be saved. It is read-only.");
    EXPECT_EQ(readFile(folder.path("kept.pro")), "kept");
}
