#include "layout/MainWindowTable.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> traceLines(const QString &path)
{
    QFile file(path);
    std::vector<std::string> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    while (!file.atEnd())
        lines.push_back(file.readLine().trimmed().toStdString());
    return lines;
}

std::string hex(int byte)
{
    static constexpr char digits[] = "0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 15]};
}

} // namespace

// The program as a person uses it: quillo-sim on a virtual display, "Write key settings"
// clicked with xdotool, and the emulated keyboard's report trace read from outside.
TEST(SimEndToEnd, WriteKeySettingsClickedOnAVirtualDisplayReachesTheKeyboard)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()
        || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps.sh installs them)";

    const std::vector<DrawnButton> table = MainWindowTable::build(4);
    const DrawnButton &write = table[std::size_t(MainWindowTable::indexOf(table, WriteKeysButton))];
    QTemporaryDir folder;
    const QString trace = folder.filePath("trace.txt");
    // The display's keymap comes through libxkbcommon, which takes a counted string with
    // strndup; the sanitizer's strict string checks would call that an overflow.
    std::string environment = "env -u QT_QPA_PLATFORM";
    if (const char *asan = std::getenv("ASAN_OPTIONS")) {
        std::string options = asan;
        for (std::size_t at; (at = options.find("strict_string_checks=1")) != std::string::npos;)
            options.replace(at, 22, "strict_string_checks=0");
        environment += " ASAN_OPTIONS='" + options + "'";
    }
    const std::string command
        = environment
          + " '" WITH_XVFB "' '-screen 0 1920x1080x24' '" DRIVE_WRITE_KEYS "' '" QUILLO_SIM "' '"
          + trace.toStdString() + "' " + std::to_string((write.rect.left + write.rect.right) / 2)
          + " " + std::to_string((write.rect.top + write.rect.bottom) / 2) + " "
          + std::to_string(MainWindowTable::BaseWidth);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::vector<std::string> lines = traceLines(trace);
    // The version read at start, then the write: its command, one record per slot in slot
    // order (layer 1 keys 1..108, then layer 2), and the end report.
    std::size_t at = 0;
    while (at < lines.size() && !lines[at].starts_with("> 00 00 f1 00"))
        ++at;
    ASSERT_LT(at, lines.size());
    EXPECT_TRUE(lines[0].starts_with("> 00 00 f9")) << lines[0];
    ASSERT_EQ(lines.size(), at + 1 + 216 + 1);
    for (int slot = 0; slot < 216; ++slot) {
        const int layer = 1 + slot / 108;
        const int key = 1 + slot % 108;
        EXPECT_TRUE(lines[at + 1 + std::size_t(slot)].starts_with("> 00 00 f0 " + hex(layer) + " "
                                                                  + hex(key)))
            << slot << ": " << lines[at + 1 + std::size_t(slot)];
    }
    std::string end = "> 00 00";
    for (int i = 0; i < 63; ++i)
        end += " f6";
    EXPECT_EQ(lines.back(), end);
}
