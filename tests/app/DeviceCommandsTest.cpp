#include "MainWindowHarness.h"

#include "app/DeviceCommands.h"
#include "app/ResourceLocator.h"
#include "jobs/CNuboDialogFirmwareUpdate.h"
#include "jobs/CNuboDialogProgress.h"
#include "jobs/DeviceWorker.h"
#include "jobs/JobMessages.h"
#include "layout/MainWindowTable.h"
#include "profile/ProfileFile.h"
#include "skin/SkinLibrary.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr TransferWaits NoWaits{0ms, 0ms, 0ms};

// A main window with the built skins for the dialogs it opens, its job pauses shortened.
struct CommandFixture {
    explicit CommandFixture(int variant)
        : attached(variant)
        , window(attached.state, attached.fonts,
                 positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)))
    {
        skins.load(QCoreApplication::applicationDirPath(), variant);
        window.setSkinLibrary(&skins);
        window.deviceCommands().setWaits(NoWaits);
        started = window.initialise();
        window.show();
    }
    ~CommandFixture() { window.deviceWorker().wait(); }

    AppState &state() { return attached.state; }

    AttachedKeyboard attached;
    SkinLibrary skins;
    ScriptedMainWindow window;
    bool started = false;
};

// Runs `action` on the next modal window while the command under test runs its own loop.
void onNextModal(std::function<void(QWidget *)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || qobject_cast<CNuboDlg *>(modal))
            return;
        poll->stop();
        poll->deleteLater();
        action(modal);
    });
    poll->start(2);
}

void clickCancelOf(QWidget *modal)
{
    auto *progress = qobject_cast<CNuboDialogProgress *>(modal);
    ASSERT_NE(progress, nullptr);
    const ButtonRect r = progress->table()[std::size_t(progress->table().indexOfId(93))].rect;
    pressAndRelease(*progress, QPoint(r.left + 3, r.top + 3));
}

} // namespace

TEST(DeviceCommands, WriteLoadAndCountersSayOkWithTheModelCaptions)
{
    CommandFixture f(2);
    ASSERT_TRUE(f.started);
    f.state().notWritten = true;
    f.state().setAssignment(30, 0, {KeyAssignment::Single, 20, {}});

    f.window.runCommand(WriteKeysButton);
    EXPECT_EQ(f.window.messages, std::vector<QString>{"OK!!"});
    EXPECT_FALSE(f.state().notWritten);

    // Load brings back what was written over a model that has moved on.
    f.state().resetKeyModel();
    f.window.runCommand(LoadButton);
    EXPECT_EQ(f.window.messages.size(), 2u);
    EXPECT_EQ(f.state().code[AppState::index(30, 0)], 20);

    f.window.runCommand(GetCounterButton);
    ASSERT_EQ(f.window.messages.size(), 3u);
    EXPECT_EQ(f.window.messages[2], QStringLiteral("OK!!"));
    EXPECT_GE(f.state().pressCounters.highestKey, 1);
    // Variant 2 is spelt two ways: "Quillo(S)Ble" after Write and Load, "Quillo(S)BLe" else.
    EXPECT_EQ(f.window.captions,
              (std::vector<QString>{"Quillo(S)Ble", "Quillo(S)Ble", "Quillo(S)BLe"}));
}

TEST(DeviceCommands, AFailedExchangeSaysSoAndACancelSaysNothing)
{
    CommandFixture f(4);
    ASSERT_TRUE(f.started);
    f.state().notWritten = true;
    f.attached.keyboard->setReadWaitLimit(50ms);
    quillosim::SimFaults broken;
    broken.failWriteAt = 1;
    f.attached.keyboard->setFaults(broken);
    f.window.runCommand(WriteKeysButton);
    EXPECT_EQ(f.window.messages, std::vector<QString>{"写入键盘失败，请检查连接线后重试。"});
    EXPECT_TRUE(f.state().notWritten);

    f.state().language = "en-US";
    f.window.runCommand(LoadButton); // the keyboard is unplugged now
    EXPECT_EQ(f.window.messages.back(),
              QStringLiteral("Reading from the keyboard failed. Check the cable and try again."));

    // A cancelled job shows nothing at all.
    f.attached.keyboard->plugIn();
    f.state().hwi.__closeDev();
    ASSERT_TRUE(f.state().hwi.__createDev());
    f.attached.keyboard->setFaults({});
    f.attached.keyboard->setReportInterval(1ms);
    // The pause before the lights keeps the job going well past the Cancel on a busy machine.
    f.window.deviceCommands().setWaits({0ms, 3000ms, 0ms});
    const std::size_t before = f.window.messages.size();
    onNextModal([&f](QWidget *modal) {
        // Cancelled once the exchange is under way: before, the job is still being prepared
        // and never starts at all.
        QDeadlineTimer limit(10s);
        while (!f.window.deviceWorker().isRunning() && !limit.hasExpired()) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        clickCancelOf(modal);
    });
    f.window.runCommand(LoadButton);
    EXPECT_EQ(f.window.messages.size(), before);
    EXPECT_TRUE(f.window.deviceWorker().isRunning());
}

TEST(DeviceCommands, AWriteStoppedHalfWaySaysTheKeyboardHoldsPartOfIt)
{
    CommandFixture f(4);
    ASSERT_TRUE(f.started);
    f.state().language = "en-US";
    f.window.runCommand(WriteKeysButton);
    ASSERT_EQ(f.window.messages, std::vector<QString>{"OK!!"});
    auto before = ConfigHistory::capture(f.state(), ConfigHistory::Scope::everything());
    f.state().setAssignment(30, 0, {KeyAssignment::Single, 20, {}});
    f.state().history.record(ConfigHistory::Change::KeySettings, std::move(before));
    f.state().notWritten = true;

    // Unplugged after the command and 109 key records.
    quillosim::SimFaults unplug;
    unplug.failWriteAt = 1;
    unplug.failReadAt = 1;
    unplug.afterReports = 110;
    f.attached.keyboard->setFaults(unplug);
    f.window.runCommand(WriteKeysButton);
    ASSERT_EQ(f.window.messages.size(), 2u);
    EXPECT_EQ(f.window.messages[1],
              QStringLiteral("Writing to the keyboard failed. Check the cable and try again.\n\n"
                             "The keyboard now holds part of the new key settings. Once it is "
                             "connected again, run Write key settings again."));
    TransferResult partly;
    partly.status = TransferResult::Status::PartlyWritten;
    EXPECT_EQ(JobMessages::failure(TransferJob::WriteKeys, partly, true),
              "写入键盘失败，请检查连接线后重试。\r\n\r\n键盘现在只保存了一部分新的按键设置。"
              "连接好键盘后，请再执行一次“写入按键”。");
    // Neither these keys nor the ones written before are on the keyboard: undo to those
    // still leaves them to be written.
    ASSERT_TRUE(f.state().history.undo(f.state(), f.state().notWritten));
    EXPECT_TRUE(f.state().notWritten);
}

TEST(DeviceCommands, QuittingWaitsForTheWorkerAndSaysWhyDuringADownload)
{
    CommandFixture f(4);
    ASSERT_TRUE(f.started);
    f.state().language = "en-US";
    // Firmware Update opens its window, which reads the version as it opens.
    bool sawFirmware = false;
    onNextModal([&sawFirmware](QWidget *modal) {
        auto *dialog = qobject_cast<CNuboDialogFirmwareUpdate *>(modal);
        sawFirmware = dialog && dialog->versionField()->text() == QStringLiteral("V1.0");
        modal->close();
    });
    f.window.runCommand(FirmwareButton);
    EXPECT_TRUE(sawFirmware);

    // A download left running by a firmware window that was closed, then Exit.
    ASSERT_TRUE(
        f.window.deviceWorker().start(DeviceWorker::Task::FirmwareDownload, nullptr,
                                      [](WindowHandle) { std::this_thread::sleep_for(300ms); }));
    bool sawWait = false;
    onNextModal([&sawWait](QWidget *modal) {
        auto *wait = qobject_cast<CNuboDialogProgress *>(modal);
        sawWait = wait && wait->isWaitingForEarlierWorker();
    });
    QElapsedTimer clock;
    clock.start();
    f.window.runCommand(ExitButton);
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_TRUE(sawWait);
    EXPECT_FALSE(f.window.deviceWorker().isRunning());
    EXPECT_FALSE(f.window.isVisible());
    ASSERT_FALSE(f.window.messages.empty());
    EXPECT_EQ(f.window.messages.back().toStdString(), JobMessages::quitWaitsForDownload(false));
}

TEST(DeviceCommands, AnUnpluggedKeyboardWithUnwrittenChangesOffersToSaveThem)
{
    CommandFixture f(4);
    ASSERT_TRUE(f.started);
    QTemporaryDir folder;
    f.window.savePath = folder.filePath("rescued.pro");
    f.state().notWritten = true;
    f.state().setAssignment(12, 1, {KeyAssignment::Single, 33, {}});
    f.window.answers = {true};
    f.attached.keyboard->unplug();
    f.window.deviceChanged();
    EXPECT_EQ(f.window.messages, std::vector<QString>{"Keyboard is not connected"});
    ASSERT_EQ(f.window.questions.size(), 1u);
    EXPECT_EQ(f.window.questions[0].toStdString(), [] {
        std::string text = JobMessages::offerSaveAfterUnplug(true);
        text.erase(text.find('\r'), 1);
        return text;
    }());
    EXPECT_FALSE(f.window.isVisible());
    // What was saved is the edited configuration.
    AppState check;
    check.buildCatalogue();
    check.deviceType = 4;
    check.resetKeyModel();
    ASSERT_EQ(
        readProfile(check, check.pressCounters, check.deviceType, f.window.savePath.toStdString()),
        ProfileReadResult::Ok);
    EXPECT_EQ(check.code[AppState::index(12, 1)], 33);

    // Without unwritten changes nothing is asked.
    CommandFixture clean(3);
    ASSERT_TRUE(clean.started);
    clean.attached.keyboard->unplug();
    clean.window.deviceChanged();
    EXPECT_TRUE(clean.window.questions.empty());
}

TEST(DeviceCommands, AnUnplugDuringAJobIsHandledAfterTheJobHasSaidItFailed)
{
    CommandFixture f(4);
    ASSERT_TRUE(f.started);
    f.state().language = "en-US";
    f.attached.keyboard->setReportInterval(1ms);
    onNextModal([&](QWidget *) {
        f.attached.keyboard->unplug();
        f.window.deviceChanged(); // the device watcher's notice, inside the job's dialog
        EXPECT_TRUE(f.window.messages.empty());
    });
    f.window.runCommand(WriteKeysButton);
    // Some keys may have gone out before the unplug, which the failure then adds.
    ASSERT_EQ(f.window.messages.size(), 2u);
    EXPECT_TRUE(f.window.messages[0].startsWith(
        "Writing to the keyboard failed. Check the cable and try again."));
    EXPECT_EQ(f.window.messages[1], QStringLiteral("Keyboard is not connected"));
    EXPECT_FALSE(f.window.isVisible());
}

TEST(DeviceCommands, HelpOpensTheGuideOfTheWindowsLanguageAndSaysWhereItIsWhenNothingOpensIt)
{
    CommandFixture f(4);
    ASSERT_TRUE(f.started);
    std::vector<QString> opened;
    bool opens = true;
    f.window.deviceCommands().setDocumentOpener(
        [&opened, &opens](const QString &path, const std::function<void()> &failed) {
            opened.push_back(path);
            if (!opens)
                failed();
        });
    QTemporaryDir programs;
    QTemporaryDir data;
    ASSERT_TRUE(programs.isValid() && data.isValid());
    bool viewer = true;
    f.window.deviceCommands().setHelpLookup(
        ResourceLocator(programs.path().toStdString(), {}, data.path().toStdString()),
        [&viewer] { return viewer; });
    const auto touch = [](const QString &path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    const auto help = [&] {
        opened.clear();
        f.window.runCommand(HelpButton);
        return opened.size() == 1 ? opened.front() : QString::number(opened.size());
    };

    EXPECT_EQ(help(), QStringLiteral("0"));
    EXPECT_TRUE(f.window.messages.empty());

    // Installed: the data folder holds both.
    f.state().language = "en-US";
    const QString chm = data.filePath(QStringLiteral("Quillo.chm"));
    const QString pages = data.filePath(QStringLiteral("guide/index.html"));
    ASSERT_TRUE(touch(chm) && touch(pages));
    EXPECT_EQ(help(), chm);
    viewer = false;
    EXPECT_EQ(help(), pages);
    // In Chinese the English guide serves until the Chinese pages are there; those come before
    // the compiled guide, which is English.
    f.state().language = "zh-CN";
    EXPECT_EQ(help(), pages);
    const QString chinese = data.filePath(QStringLiteral("guide/zh-CN/index.html"));
    ASSERT_TRUE(touch(chinese));
    viewer = true;
    EXPECT_EQ(help(), chinese);
    f.state().language = "en-US";
    EXPECT_EQ(help(), chm);
    EXPECT_TRUE(f.window.messages.empty());

    // Nothing to open it with: said in the window's language, with the path.
    opens = false;
    viewer = false;
    EXPECT_EQ(help(), pages);
    ASSERT_EQ(f.window.messages.size(), 1u);
    EXPECT_TRUE(
        f.window.messages.back().startsWith(QStringLiteral("The user guide cannot be opened")));
    EXPECT_TRUE(f.window.messages.back().endsWith(QDir::toNativeSeparators(pages)));
    f.state().language = "zh-CN";
    EXPECT_EQ(help(), chinese);
    ASSERT_EQ(f.window.messages.size(), 2u);
    EXPECT_TRUE(f.window.messages.back().startsWith(QString::fromUtf8("无法打开使用指南")));
    EXPECT_TRUE(f.window.messages.back().endsWith(QDir::toNativeSeparators(chinese)));

    // Beside the program comes first; with no pages the compiled guide is tried anyway.
    opens = true;
    f.state().language = "en-US";
    const QString own = programs.filePath(QStringLiteral("Quillo.chm"));
    ASSERT_TRUE(touch(own));
    QFile::remove(pages);
    EXPECT_EQ(help(), own);
    EXPECT_EQ(f.window.messages.size(), 2u);
}
