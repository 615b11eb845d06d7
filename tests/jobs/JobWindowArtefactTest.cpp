#include "JobHarness.h"

#include "layout/FirmwareUpdateTable.h"
#include "layout/ProgressTable.h"
#include "tests/support/Artefacts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// With the built skins: both job windows come up at 370 x 250 base pixels, the bar grows from
// the checked image, and pictures are left for people to look at.
TEST(JobWindowArtefacts, ProgressAndFirmwareWindowsWithTheBuiltSkins)
{
    JobFixture f(4);
    ASSERT_EQ(f.skins.error(), SkinLibrary::Error::None) << f.skins.errorText(false).toStdString();
    const SkinImages progressSkin = f.progressSkin();
    ASSERT_TRUE(progressSkin.isComplete());
    ASSERT_EQ(progressSkin.background.size(), QSize(370, 250));
    ASSERT_TRUE(f.firmwareSkin().isComplete());
    ASSERT_EQ(f.firmwareSkin().background.size(), QSize(370, 250));

    // Every button looks different when hovered; the bar's track is filled in the checked face.
    const QImage hover = progressSkin.hover.toImage(progressSkin.background);
    const QImage checked = progressSkin.checked.toImage(progressSkin.background);
    for (const DrawnButton &entry : ProgressTable::build()) {
        if (!entry.isHittable())
            continue;
        const QRect r(entry.rect.left, entry.rect.top, entry.rect.width(), entry.rect.height());
        EXPECT_NE(hover.copy(r), progressSkin.background.copy(r)) << entry.id;
    }
    const QRect bar(40, 150, 290, 22);
    EXPECT_NE(checked.copy(bar), progressSkin.background.copy(bar));
    // Transparent corners, opaque body.
    EXPECT_EQ(qAlpha(progressSkin.background.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(progressSkin.background.pixel(185, 125)), 255);

    const QString folder = artefactFolder();
    // Paced like a full-speed keyboard, a key write takes long enough to be seen half done.
    f.keyboard->setReportInterval(std::chrono::milliseconds(2));
    for (const char *language : {"en-US", "zh-CN"}) {
        f.state.language = language;
        f.state.scaleFactor = 1.5f;
        WatchedProgress progress(f);
        progress.DeviceJob = 1;
        progress.setWaits({std::chrono::milliseconds(0), {}, {}});
        ASSERT_TRUE(progress.initialise());
        EXPECT_EQ(progress.size(), QSize(555, 375));
        progress.show();
        ASSERT_TRUE(waitUntil([&] { return progress.progress() >= 45; }));
        const QImage half = progress.grab().toImage();
        EXPECT_TRUE(
            half.save(QDir(folder).filePath(QStringLiteral("progress-%1.png").arg(language))));
        ASSERT_TRUE(waitUntil([&] { return progress.closedMs >= 0; }));
        EXPECT_EQ(progress.outcome(), CNuboDialogProgress::Succeeded);

        ScriptedFirmwareDialog firmware(f);
        ASSERT_TRUE(firmware.initialise());
        EXPECT_EQ(firmware.size(), QSize(555, 375));
        EXPECT_EQ(firmware.versionField()->text(), QStringLiteral("V1.0"));
        firmware.show();
        EXPECT_TRUE(firmware.grab().save(
            QDir(folder).filePath(QStringLiteral("firmware-update-%1.png").arg(language))));

        // Half way through a download of a chosen file.
        QTemporaryDir files;
        const QString image = files.filePath("Quillo(RGB)_V2.1.bin");
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string text = firmwareText(300);
        file.write(text.data(), qint64(text.size()));
        file.close();
        firmware.chosenPath = image;
        firmware.runCommand(FirmwareUpdateTable::OpenButton);
        firmware.runCommand(FirmwareUpdateTable::UpdateButton);
        ASSERT_TRUE(waitUntil([&] { return firmware.progress() >= 50; }));
        EXPECT_TRUE(firmware.grab().save(QDir(folder).filePath(
            QStringLiteral("firmware-update-downloading-%1.png").arg(language))));
        ASSERT_TRUE(waitUntil([&] { return !firmware.isDownloading(); }));
        EXPECT_EQ(firmware.messages.size(), 1u);
    }
}
