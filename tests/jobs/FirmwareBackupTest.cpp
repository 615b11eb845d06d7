#include "JobHarness.h"

#include "jobs/FirmwareBackup.h"
#include "layout/FirmwareUpdateTable.h"
#include "profile/ProfileFile.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Id = FirmwareUpdateTable::Id;

namespace {

QString writeImage(const QTemporaryDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        const std::string text = firmwareText(8);
        file.write(text.data(), qint64(text.size()));
    }
    return path;
}

// The keyboard given a configuration of its own (every kind of key, a colour per key).
void configureKeyboard(JobFixture &f)
{
    AppState &state = f.state;
    assignEveryKey(state);
    for (int key = 1; key <= AppState::KeyCount; ++key)
        state.lightSettings[std::size_t(key)] = {key, 255 - key, key * 2};
    ASSERT_TRUE(DeviceTransfer::writeKeyAssignments(state.hwi, state.catalogue, state, nullptr));
    ASSERT_TRUE(DeviceTransfer::writeLights(state.hwi, state.lightSettings, nullptr));
    state.resetKeyModel(); // the window's own configuration is something else
}

std::vector<fs::path> backups()
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(FirmwareBackup::folder(), error))
        found.push_back(entry.path());
    return found;
}

void removeBackups()
{
    std::error_code error;
    fs::remove_all(FirmwareBackup::folder(), error);
}

// Sets an environment variable for the scope, then puts back what was there.
struct ScopedEnv {
    ScopedEnv(const char *name, const char *value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    const char *m_name;
    std::optional<std::string> m_old;
};

// The reports the host wrote, their command bytes (payload byte 1) in order.
std::vector<int> commandsWritten(const quillosim::SimKeyboard &keyboard)
{
    std::vector<int> commands;
    for (const quillosim::TraceEntry &entry : keyboard.trace()) {
        if (entry.direction == quillosim::TraceEntry::Direction::Written && entry.bytes.size() > 2)
            commands.push_back(entry.bytes[2]);
    }
    return commands;
}

// Asks the update-anyway question in the real message box and answers it as a person would:
// Enter, or a click on Yes.
class AnsweringDialog : public ScriptedFirmwareDialog {
public:
    AnsweringDialog(JobFixture &f)
        : ScriptedFirmwareDialog(f)
        , m_keyboard(*f.keyboard)
    {}

    bool clickYes = false;
    bool noWasDefault = false;
    std::vector<int> writtenWhenAsked;

protected:
    bool askUpdateWithoutBackup(const QString &question) override
    {
        questions.push_back(question);
        writtenWhenAsked = commandsWritten(m_keyboard);
        auto *poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [this, poll] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll->deleteLater();
            poll->stop();
            noWasDefault = box->defaultButton() == box->button(QMessageBox::No);
            if (clickYes) {
                box->button(QMessageBox::Yes)->click();
                return;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &press);
        });
        poll->start(5);
        return CNuboDialogFirmwareUpdate::askUpdateWithoutBackup(question);
    }

private:
    quillosim::SimKeyboard &m_keyboard;
};

} // namespace

TEST(FirmwareBackup, TheFolderFollowsXdgDataHomeAndNamesTellModelAndTime)
{
    {
        ScopedEnv data("XDG_DATA_HOME", "/data/here");
        EXPECT_EQ(FirmwareBackup::folder(), fs::path("/data/here/quillo/backups"));
    }
    {
        // Relative or empty: the default under the home folder.
        ScopedEnv data("XDG_DATA_HOME", "relative/path");
        ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(FirmwareBackup::folder(), fs::path("/home/someone/.local/share/quillo/backups"));
    }
    {
        ScopedEnv data("XDG_DATA_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        EXPECT_TRUE(FirmwareBackup::folder().empty());
    }
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 1;
    when.tm_hour = 14;
    when.tm_min = 15;
    when.tm_sec = 2;
    when.tm_isdst = -1;
    EXPECT_EQ(FirmwareBackup::fileName(3, std::mktime(&when)), "Quillo(S)-2024-05-01-141502.pro");
}

TEST(FirmwareBackup, SavedBeforeTheDownloadAndWrittenBackAfterIt)
{
    removeBackups();
    JobFixture f(4);
    configureKeyboard(f);
    const quillosim::KeyboardMemory before = f.keyboard->memory();
    QTemporaryDir folder;
    ScriptedFirmwareDialog dialog(f);
    f.state.language = "en-US";
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    dialog.chosenPath = writeImage(folder, "Quillo(RGB)_V3.bin");
    dialog.runCommand(Id::OpenButton);

    // The update leaves the keyboard bare; the user plugs it in again and says Yes.
    int asked = 0;
    dialog.answer = [&](const QString &) {
        ++asked;
        f.keyboard->setMemory(quillosim::KeyboardMemory::factory(4));
        f.keyboard->unplug();
        f.keyboard->plugIn();
        return true;
    };
    dialog.runCommand(Id::UpdateButton);
    EXPECT_EQ(dialog.versionField()->text().toStdString(), FirmwareBackup::readingText(false));
    ASSERT_TRUE(waitUntil([&] { return !dialog.isDownloading() && !dialog.isRestoring(); }));
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 1);
    EXPECT_EQ(asked, 1);

    // The backup: one profile of this model in the data folder, holding the keyboard's keys.
    const std::vector<fs::path> saved = backups();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], dialog.backupPath());
    EXPECT_TRUE(saved[0].filename().string().starts_with("Quillo(RGB)-"));
    EXPECT_EQ(saved[0].extension(), ".pro");
    AppState check;
    check.deviceType = 4;
    check.resetKeyModel();
    ASSERT_EQ(readProfile(check, check.pressCounters, check.deviceType, saved[0]),
              ProfileReadResult::Ok);
    EXPECT_EQ(check.lightSettings[20], (LightColour{20, 235, 40}));
    EXPECT_TRUE(dialog.questions.at(0).contains(QString::fromStdString(saved[0].string())));

    // Written back: the keyboard holds what it held before, byte for byte.
    const quillosim::KeyboardMemory after = f.keyboard->memory();
    EXPECT_EQ(after.records, before.records);
    EXPECT_EQ(after.lights, before.lights);
    ASSERT_FALSE(dialog.messages.empty());
    EXPECT_EQ(dialog.messages.back().toStdString(), FirmwareBackup::restoredText(false));
    EXPECT_EQ(dialog.versionField()->text(), QStringLiteral("V1.0"));
    EXPECT_TRUE(dialog.ready());
    // The program's own configuration was never touched.
    EXPECT_EQ(f.state.category[AppState::index(1, 0)],
              KeyCatalogue::categoryOfCode(KeyCatalogue::defaultCode(4, 1, 0)));
    removeBackups();
}

TEST(FirmwareBackup, AWriteBackSaysWhetherTheKeyboardIsMissingOrDidNotAnswer)
{
    removeBackups();
    JobFixture f(4);
    configureKeyboard(f);
    QTemporaryDir folder;
    ScriptedFirmwareDialog dialog(f);
    f.state.language = "en-US";
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    dialog.chosenPath = writeImage(folder, "Quillo(RGB)_V3.bin");
    dialog.runCommand(Id::OpenButton);

    // The first Yes finds no keyboard; at the second it is back but busy with its version
    // reads; at the third it answers.
    int asked = 0;
    std::vector<int> writtenWhileBusy;
    dialog.answer = [&](const QString &) {
        ++asked;
        if (asked == 1) {
            f.keyboard->unplug();
        } else if (asked == 2) {
            f.keyboard->plugIn();
            quillosim::SimFaults busy;
            busy.versionBusy = true;
            f.keyboard->setFaults(busy);
            f.keyboard->clearTrace();
        } else {
            writtenWhileBusy = commandsWritten(*f.keyboard);
            f.keyboard->setFaults({});
        }
        return true;
    };
    dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isDownloading() && !dialog.isRestoring(); }));
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(dialog.messages.size(), 4u);
    const auto shown = [](const std::string &text) {
        return QString::fromStdString(text).replace("\r\n", "\n");
    };
    EXPECT_EQ(dialog.messages[1], shown(FirmwareBackup::writeBackNotConnectedText(false)));
    EXPECT_TRUE(dialog.messages[1].startsWith("Keyboard is not connected\n"));
    EXPECT_EQ(dialog.messages[2], shown(FirmwareBackup::writeBackVersionFailedText(false)));
    EXPECT_TRUE(dialog.messages[2].startsWith("Failed on reading keyboard version infomation\n"));
    // The version was asked for twice, and nothing was written meanwhile.
    EXPECT_EQ(writtenWhileBusy, (std::vector<int>{0xF9, 0xF9}));
    EXPECT_EQ(dialog.messages[3].toStdString(), FirmwareBackup::restoredText(false));
    removeBackups();
}

TEST(FirmwareBackup, NoAnswerMeansNoWriteBackAndAFailedReadSendsNothing)
{
    removeBackups();
    JobFixture f(3);
    QTemporaryDir folder;
    ScriptedFirmwareDialog dialog(f);
    f.state.language = "en-US";
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    dialog.chosenPath = writeImage(folder, "Quillo(S)_V3.bin");
    dialog.runCommand(Id::OpenButton);

    // No: the backup stays where the question said.
    const int recordsBefore = f.keyboard->stats().recordsStored;
    dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isDownloading(); }));
    EXPECT_EQ(dialog.questions.size(), 1u);
    EXPECT_FALSE(dialog.isRestoring());
    EXPECT_EQ(f.keyboard->stats().recordsStored, recordsBefore);
    EXPECT_EQ(backups().size(), 1u);

    // The keyboard stops answering its first read: the user is asked, No sends no firmware.
    f.keyboard->setReadWaitLimit(50ms);
    quillosim::SimFaults broken;
    broken.failReadAt = 1;
    f.keyboard->setFaults(broken);
    const int firmwareBefore = f.keyboard->stats().firmwareRecords;
    const std::size_t messagesBefore = dialog.messages.size();
    dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isDownloading(); }));
    EXPECT_EQ(f.keyboard->stats().firmwareRecords, firmwareBefore);
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 1);
    FirmwareBackup::Result failed;
    failed.status = FirmwareBackup::Result::Status::ReadFailed;
    ASSERT_EQ(dialog.questions.size(), 2u);
    EXPECT_EQ(dialog.questions.back().toStdString(),
              FirmwareBackup::updateAnywayQuestion(failed, false));
    EXPECT_EQ(dialog.messages.size(), messagesBefore);
    EXPECT_EQ(backups().size(), 1u);
    EXPECT_TRUE(dialog.ready()); // the user may try again
    removeBackups();
}

TEST(FirmwareBackup, TwoBackupsInOneSecondKeepBoth)
{
    removeBackups();
    JobFixture f(1);
    const std::time_t now = std::time(nullptr);
    const auto first = FirmwareBackup::make(f.state.hwi, f.state.catalogue, 1, nullptr, now);
    const auto second = FirmwareBackup::make(f.state.hwi, f.state.catalogue, 1, nullptr, now);
    ASSERT_TRUE(first.ok());
    ASSERT_TRUE(second.ok());
    EXPECT_NE(first.path, second.path);
    EXPECT_EQ(backups().size(), 2u);
    // And a backup restores onto the keyboard it came from.
    EXPECT_TRUE(FirmwareBackup::restore(f.state.hwi, 1, second.path, nullptr).ok());
    EXPECT_EQ(
        FirmwareBackup::restore(f.state.hwi, 1, second.path.string() + ".missing", nullptr).status,
        FirmwareBackup::Result::Status::OpenFailed);
    removeBackups();
}

TEST(FirmwareBackup, AFailedBackupAsksFirstAndOnlyYesSendsTheFirmware)
{
    // A data folder that cannot be made, even by root: its parent is a file.
    QTemporaryDir folder;
    QFile blocker(folder.filePath("data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const std::string unusable = folder.filePath("data/share").toStdString();
    ScopedEnv data("XDG_DATA_HOME", unusable.c_str());
    JobFixture f(4);
    AnsweringDialog dialog(f);
    f.state.language = "en-US";
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    dialog.chosenPath = writeImage(folder, "Quillo(RGB)_V3.bin");
    dialog.runCommand(Id::OpenButton);

    // Enter takes the default, No: the backup's reads were all that reached the keyboard.
    f.keyboard->clearTrace();
    dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isDownloading() && !dialog.questions.empty(); }));
    finishWorkers(f.worker);
    EXPECT_TRUE(dialog.noWasDefault);
    FirmwareBackup::Result failed;
    failed.status = FirmwareBackup::Result::Status::SaveFailed;
    failed.path = fs::path(unusable) / "quillo" / "backups";
    EXPECT_EQ(dialog.questions.at(0).toStdString(),
              FirmwareBackup::updateAnywayQuestion(failed, false));
    EXPECT_EQ(dialog.writtenWhenAsked, (std::vector<int>{0xF2, 0xE2}));
    EXPECT_EQ(commandsWritten(*f.keyboard), dialog.writtenWhenAsked);
    EXPECT_EQ(f.keyboard->stats().firmwareRecords, 0);
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_TRUE(dialog.ready());

    // Yes: the image goes straight after the question, with no second backup, and no
    // write-back is offered since nothing was saved.
    dialog.clickYes = true;
    f.keyboard->clearTrace();
    dialog.runCommand(Id::UpdateButton);
    ASSERT_TRUE(waitUntil([&] { return dialog.questions.size() == 2 && !dialog.isDownloading(); }));
    EXPECT_EQ(f.keyboard->firmwareUpdates(), 1);
    const std::vector<int> written = commandsWritten(*f.keyboard);
    ASSERT_GT(written.size(), 2u);
    EXPECT_EQ(written[2], 0x3A) << "a firmware record right after the backup's two reads";
    EXPECT_EQ(written.size(), 2 + 10u); // extended address, 8 data records, end of file
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_TRUE(dialog.messages[0].startsWith("The Firmware is downloaded successfully."))
        << dialog.messages[0].toStdString();
    EXPECT_EQ(dialog.questions.size(), 2u);
    EXPECT_TRUE(dialog.backupPath().empty());
}
