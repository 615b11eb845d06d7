#include "MainWindowHarness.h"

#include "app/DeviceCommands.h"
#include "app/OfflineOffer.h"
#include "app/ResourceLocator.h"
#include "jobs/CNuboDialogProgress.h"
#include "jobs/DeviceWorker.h"
#include "layout/MainWindowTable.h"
#include "skin/SkinLibrary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace std::chrono_literals;

namespace {

struct ShownBox {
    QString caption;
    QString text;
    QStringList buttons;
    int meanGrey = 255;
};

// The next message box the command under test shows: its picture kept under `name`, what it
// said noted, and answered with `answer` (the default button when empty).
void onNextBox(const QString &name, ShownBox &shown,
               std::function<QAbstractButton *(QMessageBox &)> answer = {})
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=, &shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        const QImage image = box->grab().toImage();
        const QString folder
            = QDir(QCoreApplication::applicationDirPath()).filePath("../test-artefacts");
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(name + ".png"));
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                sum += qGray(image.pixel(x, y));
        }
        shown.meanGrey = int(sum / std::max<qint64>(1, qint64(image.width()) * image.height()));
        shown.caption = box->windowTitle();
        shown.text = box->text();
        for (QAbstractButton *button : box->buttons())
            shown.buttons << button->text();
        QAbstractButton *choice = answer ? answer(*box) : box->defaultButton();
        if (choice)
            choice->click();
    });
    poll->start(5);
}

} // namespace

// Through the real main window of a Quillo(RGB): "OK!!" after a write, the refusal of a
// command offline, Help with nothing to open the guide and the exit question are dark and in the
// window's language; the texts of the boxes themselves stay as they are. Their pictures, and the
// offline offer's, are kept.
TEST(MessageBoxArtefacts, WriteOfflineAndExitBoxesInBothLanguages)
{
    for (const char *language : {"zh-CN", "en-US"}) {
        SCOPED_TRACE(language);
        const bool chinese = std::string(language) == "zh-CN";
        const QString suffix = QLatin1String(chinese ? "zh" : "en");
        AttachedKeyboard attached(4);
        SkinLibrary skins;
        ASSERT_TRUE(skins.load(QCoreApplication::applicationDirPath(), 4));
        CNuboDlg window(attached.state, attached.fonts,
                        skins.images(SkinIds::skinSet(SkinDialog::MainWindow, 4)));
        window.setSkinLibrary(&skins);
        window.deviceCommands().setWaits({0ms, 0ms, 0ms});
        ASSERT_TRUE(window.initialise());
        window.show();
        attached.state.language = language;

        ShownBox written;
        onNextBox("message-box-write-ok-" + suffix, written);
        window.runCommand(WriteKeysButton);
        window.deviceWorker().wait();
        EXPECT_EQ(written.caption, "Quillo(RGB)");
        EXPECT_EQ(written.text, "OK!!");
        EXPECT_EQ(written.buttons, QStringList{chinese ? "确定" : "OK"});
        EXPECT_LT(written.meanGrey, 90);

        attached.state.offline = true;
        ShownBox refused;
        onNextBox("message-box-offline-" + suffix, refused);
        window.runCommand(GetCounterButton);
        attached.state.offline = false;
        EXPECT_TRUE(refused.text.startsWith(chinese ? "键盘未连接！\n\n"
                                                    : "Keyboard is not connected!\n\n"))
            << refused.text.toStdString();
        EXPECT_TRUE(refused.text.contains(chinese ? "请插上" : "Plug in"));
        EXPECT_LT(refused.meanGrey, 90);

        // Help with nothing on the computer to open the guide.
        window.deviceCommands().setHelpLookup(ResourceLocator::forThisProgram(),
                                              [] { return false; });
        window.deviceCommands().setDocumentOpener(
            [](const QString &, const std::function<void()> &failed) { failed(); });
        ShownBox help;
        onNextBox("message-box-help-" + suffix, help);
        window.runCommand(HelpButton);
        EXPECT_TRUE(
            help.text.startsWith(chinese ? "无法打开使用指南" : "The user guide cannot be opened"))
            << help.text.toStdString();
        EXPECT_TRUE(help.text.endsWith(QStringLiteral("index.html"))) << help.text.toStdString();
        EXPECT_LT(help.meanGrey, 90);

        ShownBox question;
        onNextBox("message-box-exit-question-" + suffix, question,
                  [](QMessageBox &box) { return box.button(QMessageBox::No); });
        window.runCommand(ExitButton);
        EXPECT_EQ(question.text,
                  chinese ? "是否保存按键配置文件??" : "Save configuration file of key??");
        EXPECT_EQ(question.buttons,
                  chinese ? QStringList({"是", "否"}) : QStringList({"Yes", "No"}));
        EXPECT_LT(question.meanGrey, 90);
        EXPECT_FALSE(window.isVisible()); // No to saving still exits
    }

    // Before any window: both languages, as the start has not chosen one.
    const FontTable fonts;
    const std::string start = "zh-CN";
    const float unknownScale = 0.0f;
    ShownBox offer;
    onNextBox("message-box-offline-offer", offer,
              [](QMessageBox &box) { return box.escapeButton(); });
    EXPECT_EQ(OfflineOffer::choose({start, unknownScale, fonts}), 0);
    EXPECT_EQ(offer.text, "键盘未连接！\nKeyboard is not connected!");
    EXPECT_EQ(offer.buttons.size(), 5);
    EXPECT_LT(offer.meanGrey, 90);
}
