#include "MainWindowHarness.h"

#include "app/BacklightCommand.h"
#include "app/DeviceCommands.h"
#include "layout/BacklightTable.h"
#include "layout/MainWindowTable.h"
#include "lighting/CNuboDialogBkLightSettings.h"
#include "skin/SkinLibrary.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

// The backlight button opens the backlight dialog on the RGB keyboards only; the colours
// confirmed there reach the configuration through the command's store, which marks nothing
// as not written.
TEST(BacklightCommand, OpensOnRgbKeyboardsAndStoresWhatOkConfirms)
{
    for (int variant = 1; variant <= 4; ++variant) {
        AttachedKeyboard attached(variant);
        attached.state.resetKeyModel();
        SkinLibrary skins;
        ASSERT_TRUE(skins.load(QCoreApplication::applicationDirPath(), variant));
        ScriptedMainWindow window(
            attached.state, attached.fonts,
            positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)));
        window.setSkinLibrary(&skins);
        ASSERT_TRUE(window.initialise());

        int opened = 0;
        const LightColour amber{255, 160, 0};
        window.deviceCommands().backlightCommand().setDialogHook(
            [&](CNuboDialogBkLightSettings &dialog) {
                ++opened;
                EXPECT_EQ(dialog.size(), QSize(1250, 470));
                EXPECT_EQ(dialog.parentWidget(), &window);
                QTimer::singleShot(0, &dialog, [&dialog, amber] {
                    dialog.setColourChooser(
                        [amber](const ColourRequest &) { return std::optional(amber); });
                    dialog.clickId(BacklightTable::FirstKey - 1 + 70);
                    dialog.clickId(BacklightTable::OkButton);
                });
            });
        const bool rgb = variant == 1 || variant == 4;
        EXPECT_EQ(MainWindowTable::indexOf(MainWindowTable::build(variant), BacklightButton) >= 0,
                  rgb);
        window.runCommand(BacklightButton);
        EXPECT_EQ(opened, rgb ? 1 : 0) << variant;
        EXPECT_EQ(attached.state.lightSettings[70], rgb ? amber : LightColour{}) << variant;
        EXPECT_FALSE(attached.state.notWritten);
        EXPECT_TRUE(window.messages.empty());
    }
}

// Offline the colours are still the user's to prepare: the dialog opens, Read and Write say
// the keyboard is not connected and send nothing, and OK keeps the colours.
TEST(BacklightCommand, OpensOfflineWhereReadAndWriteAreRefused)
{
    AttachedKeyboard attached(4);
    attached.state.resetKeyModel();
    attached.state.offline = true;
    ScriptedMainWindow window(
        attached.state, attached.fonts,
        positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)));
    ASSERT_TRUE(window.initialise());
    const int reportsBefore = attached.keyboard->stats().reportsReceived;

    const LightColour teal{0, 128, 128};
    bool stillOpen = false;
    window.deviceCommands().backlightCommand().setDialogHook(
        [&](CNuboDialogBkLightSettings &dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, &stillOpen, teal] {
                dialog.setColourChooser(
                    [teal](const ColourRequest &) { return std::optional(teal); });
                dialog.clickId(BacklightTable::FirstKey - 1 + 12);
                dialog.clickId(BacklightTable::ReadButton);
                dialog.clickId(BacklightTable::WriteButton);
                stillOpen = dialog.isVisible();
                dialog.clickId(BacklightTable::OkButton);
            });
        });
    window.runCommand(BacklightButton);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(window.messages.size(), 2u);
    // The headline in the window's language, Chinese at the start.
    for (const QString &message : window.messages)
        EXPECT_TRUE(message.startsWith("键盘未连接！")) << message.toStdString();
    EXPECT_EQ(attached.keyboard->stats().reportsReceived, reportsBefore);
    EXPECT_EQ(attached.state.lightSettings[12], teal);
}
