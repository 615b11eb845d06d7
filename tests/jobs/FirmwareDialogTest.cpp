#include "JobHarness.h"

#include "jobs/FirmwareUpdateFields.h"
#include "layout/FirmwareUpdateTable.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Id = FirmwareUpdateTable::Id;

namespace {

QString writeFile(const QTemporaryDir &folder, const QString &name, const std::string &text)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.data(), qint64(text.size()));
    return path;
}

struct OpenFirmwareDialog {
    explicit OpenFirmwareDialog(JobFixture &f)
        : dialog(f)
    {
        f.state.language = "en-US";
        opened = dialog.initialise();
        dialog.show();
    }

    void open(const QString &path)
    {
        dialog.chosenPath = path;
        dialog.runCommand(Id::OpenButton);
    }

    ScriptedFirmwareDialog dialog;
    bool opened = false;
};

const QString Downloaded = QStringLiteral(
    "The Firmware is downloaded successfully.\nPlease keep the USB plug in until three indicator "
    "lights flash simultaneously.\nThen firmware updated completely,pleased unplug the USB and "
    "plug in.");

} // namespace

TEST(FirmwareDialog, OnlyFilesNamedForTheAttachedModelFromTheirFirstCharacterAreTaken)
{
    JobFixture f(3);
    QTemporaryDir folder;
    OpenFirmwareDialog w(f);
    ASSERT_TRUE(w.opened);
    EXPECT_EQ(w.dialog.versionField()->text(), QStringLiteral("V1.0"));

    // Update before any file names the mismatch.
    w.dialog.runCommand(Id::UpdateButton);
    ASSERT_EQ(w.dialog.messages.size(), 1u);
    EXPECT_EQ(w.dialog.messages[0], QStringLiteral("The firmware does not match"));
    EXPECT_EQ(w.dialog.captions[0], QStringLiteral("Quillo(S)"));

    const QString good = writeFile(folder, "Quillo(S)_V1.2.bin", firmwareText(4));
    w.open(good);
    EXPECT_EQ(w.dialog.filePath(), good);
    EXPECT_EQ(w.dialog.fileTitle(), QStringLiteral("Quillo(S)_V1.2"));
    EXPECT_TRUE(w.dialog.fileField()->text().endsWith(QStringLiteral("Quillo(S)_V1.2.bin")));
    EXPECT_EQ(w.dialog.messages.size(), 1u);

    // Another model's file, or the prefix later in the name: refused, and the file chosen
    // before is no longer chosen.
    for (const char *name : {"Quillo(S)BLe_V1.2.bin", "new_Quillo(S)_V1.bin", "quillo(s)_V1.bin"}) {
        SCOPED_TRACE(name);
        w.open(good);
        const std::size_t before = w.dialog.messages.size();
        w.open(writeFile(folder, name, firmwareText(4)));
        ASSERT_EQ(w.dialog.messages.size(), before + 1);
        EXPECT_EQ(w.dialog.messages.back(),
                  QStringLiteral("The firmware does not match,please select Quillo(S)"));
        EXPECT_EQ(w.dialog.captions.back(), QStringLiteral("Quillo(S)"));
        EXPECT_TRUE(w.dialog.filePath().isEmpty());
        EXPECT_TRUE(w.dialog.fileField()->text().isEmpty());
    }
    // A file that cannot be read is named as such whatever its name, in either language, and
    // is not chosen either: a missing file, a folder, a pipe.
    w.open(good);
    const QString missing = folder.filePath("Quillo(S)BLe_gone.bin");
    w.open(missing);
    EXPECT_EQ(w.dialog.messages.back(),
              QStringLiteral("Can't open firmware file %1: there is no such file.").arg(missing));
    EXPECT_EQ(w.dialog.captions.back(), QStringLiteral("Quillo(S)"));
    EXPECT_TRUE(w.dialog.fileField()->text().isEmpty());
    f.state.language = "zh-CN";
    w.open(good);
    const QString directory = folder.filePath("Quillo(S)_dir.bin");
    ASSERT_TRUE(QDir().mkdir(directory));
    w.open(directory);
    EXPECT_EQ(w.dialog.messages.back(),
              QStringLiteral("打开固件文件失败：%1（这是一个文件夹）。").arg(directory));
    EXPECT_TRUE(w.dialog.filePath().isEmpty());
    EXPECT_TRUE(w.dialog.fileField()->text().isEmpty());
    f.state.language = "en-US";
    w.open(good);
    const QString pipe = folder.filePath("Quillo(S)_pipe.bin");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    w.open(pipe);
    EXPECT_EQ(w.dialog.messages.back(),
              QStringLiteral("Can't open firmware file %1: it is not a regular file.").arg(pipe));
    EXPECT_TRUE(w.dialog.filePath().isEmpty());
    EXPECT_TRUE(w.dialog.fileField()->text().isEmpty());

    // Update then downloads nothing, neither the refused file nor the one chosen before.
    w.dialog.runCommand(Id::UpdateButton);
    EXPECT_EQ(w.dialog.messages.back(), QStringLiteral("The firmware does not match"));
    EXPECT_FALSE(f.worker.isRunning());
    w.open(writeFile(folder, "Quillo(S)BLe_V1.3.bin", firmwareText(4)));
    w.dialog.runCommand(Id::UpdateButton);
    EXPECT_EQ(w.dialog.messages.back(), QStringLiteral("The firmware does not match"));
    EXPECT_FALSE(f.worker.isRunning());
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 0);
}

// A path longer than the file field gives way in the middle of its folders: its beginning and
// the whole file name stay in view, within the field, at either scale; the tooltip has it all.
TEST(FirmwareDialog, ALongPathIsShortenedInTheMiddleKeepingTheFileName)
{
    QTemporaryDir root;
    const QString deep
        = root.filePath(QStringLiteral("downloads/keyboards/quillo/firmware/releases/2024/spring"));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString name = QStringLiteral("Quillo(S)_V1.2.bin");
    const QString path = deep + QLatin1Char('/') + name;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(firmwareText(4)));
    file.close();
    for (const float scale : {1.0f, 1.5f}) {
        SCOPED_TRACE(scale);
        JobFixture f(3);
        f.state.scaleFactor = scale;
        OpenFirmwareDialog w(f);
        ASSERT_TRUE(w.opened);
        w.open(path);
        ASSERT_EQ(w.dialog.filePath(), path);
        const QLineEdit *field = w.dialog.fileField();
        const QString shown = field->text();
        const QString full = QDir::toNativeSeparators(path);
        EXPECT_TRUE(shown.endsWith(QDir::separator() + name)) << shown.toStdString();
        const qsizetype ellipsis = shown.indexOf(QChar(0x2026));
        ASSERT_GT(ellipsis, 0) << shown.toStdString(); // the beginning, then the ellipsis
        EXPECT_TRUE(full.startsWith(shown.left(ellipsis))) << shown.toStdString();
        EXPECT_LT(field->fontMetrics().horizontalAdvance(shown), field->contentsRect().width());
        EXPECT_GE(field->font().pixelSize(), int(13 * scale * 5 / 6)); // still of its size
        EXPECT_EQ(field->toolTip(), full);
    }
    // A name that alone is too long keeps its beginning (the model) and its end.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    const FirmwareUpdateFields::ShownPath shown = FirmwareUpdateFields::shownPath(
        QDir::toNativeSeparators(
            QStringLiteral("/tmp/Quillo(S)_V1.2_with_a_long_description_of_what_changed.bin")),
        font, 140);
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Quillo(S)"))) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.endsWith(QStringLiteral(".bin"))) << shown.text.toStdString();
    EXPECT_LE(QFontMetrics(shown.font).horizontalAdvance(shown.text), 140);
    EXPECT_EQ(shown.font.pixelSize(), 13);
}

TEST(FirmwareDialog, ADownloadRunsOnceReachesAHundredAndEndsWithItsMessage)
{
    JobFixture f(4);
    QTemporaryDir folder;
    OpenFirmwareDialog w(f);
    w.open(writeFile(folder, "Quillo(RGB)_V2.bin", firmwareText(60)));
    f.keyboard->setReportInterval(1ms);

    w.dialog.runCommand(Id::UpdateButton);
    EXPECT_TRUE(w.dialog.isDownloading());
    EXPECT_FALSE(w.dialog.ready());
    EXPECT_EQ(w.dialog.progress(), 1);
    w.dialog.runCommand(Id::UpdateButton); // a second press while it runs does nothing
    // Get Version would mix its reports into the download's: it says to wait instead.
    w.dialog.runCommand(Id::GetVersionButton);
    ASSERT_EQ(w.dialog.messages.size(), 1u);
    EXPECT_TRUE(w.dialog.messages[0].startsWith(QStringLiteral("The firmware download is still")));

    std::vector<int> seen;
    ASSERT_TRUE(waitUntil([&] {
        if (seen.empty() || seen.back() != w.dialog.progress())
            seen.push_back(w.dialog.progress());
        return !w.dialog.isDownloading();
    }));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    ASSERT_EQ(w.dialog.messages.size(), 2u);
    EXPECT_EQ(w.dialog.messages[1], Downloaded);
    EXPECT_TRUE(w.dialog.ready());
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 1);
    EXPECT_EQ(w.dialog.firmwarePath(), w.dialog.filePath().toStdWString());

    // Chinese texts in Chinese.
    f.state.language = "zh-CN";
    f.keyboard->setFaults([] {
        quillosim::SimFaults faults;
        faults.versionBusy = true;
        return faults;
    }());
    w.dialog.runCommand(Id::GetVersionButton);
    EXPECT_EQ(w.dialog.messages.back(), QStringLiteral("读取键盘版本失败"));
    EXPECT_TRUE(w.dialog.versionField()->text().isEmpty());
}

TEST(FirmwareDialog, ADamagedImageIsRefusedWithItsReasonAndNothingIsSent)
{
    JobFixture f(4);
    QTemporaryDir folder;
    OpenFirmwareDialog w(f);
    std::string damaged = firmwareText(10);
    damaged[damaged.find(":10", 20) + 12] ^= 1; // one data digit of line 3
    w.open(writeFile(folder, "Quillo(RGB)_bad.bin", damaged));
    f.keyboard->clearTrace();

    w.dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !w.dialog.isDownloading(); }));
    ASSERT_EQ(w.dialog.messages.size(), 1u);
    EXPECT_EQ(w.dialog.messages[0],
              QStringLiteral("The firmware file is damaged: bad checksum in line 3. Nothing was "
                             "sent to the keyboard."));
    EXPECT_TRUE(f.keyboard->trace().empty());
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 0);
    // The same file again would fail again: Update waits for another Open.
    EXPECT_FALSE(w.dialog.ready());

    // A file that has gone since it was chosen cannot be opened.
    const QString gone = writeFile(folder, "Quillo(RGB)_gone.bin", firmwareText(2));
    w.open(gone);
    QFile::remove(gone);
    w.dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !w.dialog.isDownloading(); }));
    EXPECT_EQ(w.dialog.messages.back(),
              QStringLiteral("Can't open firmware file %1: there is no such file.").arg(gone));
    EXPECT_FALSE(w.dialog.ready());

    // A line that is not a record, in Chinese.
    f.state.language = "zh-CN";
    w.open(writeFile(folder, "Quillo(RGB)_x.bin", ":020000040800F2\r\nhello\r\n:00000001FF\r\n"));
    w.dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !w.dialog.isDownloading(); }));
    EXPECT_EQ(w.dialog.messages.back(),
              QStringLiteral("固件文件已损坏：第 2 行不是以冒号开头。没有向键盘发送任何内容。"));
    EXPECT_TRUE(f.keyboard->trace().empty());

    // Records the keyboard's loader refuses, however sound their checksums: a type past 05
    // (line 4 made type 06), and an image with nothing but its end.
    f.state.language = "en-US";
    std::string foreign = firmwareText(10);
    const std::size_t line4 = foreign.find(":10", foreign.find(":10", 20) + 1);
    foreign.replace(line4 + 7, 2, "06");
    foreign.replace(line4 + 41, 2, "FF"); // its checksum put right below
    unsigned sum = 0;
    for (std::size_t i = line4 + 1; i < line4 + 41; i += 2)
        sum += unsigned(std::stoi(foreign.substr(i, 2), nullptr, 16));
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - sum % 256) % 256);
    foreign.replace(line4 + 41, 2, checksum);
    const std::vector<std::pair<std::string, QString>> refused = {
        {foreign, "the record in line 4 is of a type other than 00 to 05, which the keyboard "
                  "does not take"},
        {":00000001FF\r\n", "there is no data before the end-of-file record in line 1"},
    };
    for (const auto &[image, reason] : refused) {
        w.open(writeFile(folder, "Quillo(RGB)_loader.bin", image));
        w.dialog.runCommand(Id::UpdateButton);
        ASSERT_TRUE(waitUntil([&] { return !w.dialog.isDownloading(); }));
        EXPECT_EQ(w.dialog.messages.back(), "The firmware file is damaged: " + reason
                                                + ". Nothing was sent to the keyboard.");
        EXPECT_TRUE(f.keyboard->trace().empty());
        EXPECT_EQ(f.keyboard->firmwareUpdates(), 0);
    }
}

TEST(FirmwareDialog, ClosingTheWindowDuringADownloadDoesNotStopIt)
{
    JobFixture f(4);
    QTemporaryDir folder;
    const std::string image = firmwareText(500);
    {
        OpenFirmwareDialog w(f);
        w.open(writeFile(folder, "Quillo(RGB)_V3.bin", image));
        f.keyboard->setReportInterval(1ms);
        w.dialog.runCommand(Id::UpdateButton);
        ASSERT_TRUE(waitUntil([&] { return w.dialog.progress() >= 10; }));
        w.dialog.runCommand(Id::CancelButton);
        EXPECT_FALSE(w.dialog.isVisible());
        EXPECT_TRUE(w.dialog.ready());
        EXPECT_EQ(w.dialog.progress(), 0);
    } // the window is gone; its later posts go nowhere

    // A new window waits for the download before it reads the version.
    ASSERT_EQ(f.worker.task(), DeviceWorker::Task::FirmwareDownload);
    bool waited = false;
    whenModal([&waited](QWidget *modal) {
        auto *wait = qobject_cast<CNuboDialogProgress *>(modal);
        waited = wait && wait->isWaitingForEarlierWorker();
    });
    ScriptedFirmwareDialog again(f);
    ASSERT_TRUE(again.initialise());
    EXPECT_TRUE(waited);
    EXPECT_FALSE(f.worker.isRunning());
    EXPECT_EQ(again.versionField()->text(), QStringLiteral("V1.0"));
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 1);
    EXPECT_EQ(f.keyboard->firmwareImage().size(), 500u * 16u);
}
