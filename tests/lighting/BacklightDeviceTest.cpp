#include "LightingHarness.h"

#include "jobs/JobMessages.h"
#include "layout/BacklightTable.h"
#include "model/LightArea.h"

#include <gtest/gtest.h>

using namespace BacklightTable;

namespace {

// What the keyboard's light area holds, as the program's colours (entry 0 black).
LightSettings keyboardColours(const quillosim::SimKeyboard &keyboard)
{
    const auto bytes = keyboard.memory().lights;
    LightArea::Values values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = bytes[i];
    LightSettings colours{};
    LightArea::toSettings(values, colours);
    return colours;
}

// Cancels the progress dialog as soon as it shows.
void cancelProgressWhenItShows()
{
    whenModal([](QWidget *modal) {
        auto *progress = qobject_cast<CNuboDialogProgress *>(modal);
        ASSERT_NE(progress, nullptr);
        progress->reject();
    });
}

} // namespace

// Write stores the working colours and sends them: the keyboard then holds their 324-byte
// image. The dialog closes confirmed, after a failed exchange too, which says "Failed!" and
// why.
TEST(BacklightDevice, WriteSendsTheWorkingColours)
{
    JobFixture f(4);
    {
        ScriptedBacklight dialog(f);
        ASSERT_TRUE(dialog.initialise());
        dialog.workingColours = distinctColours();
        dialog.clickId(WriteButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(dialog.messages, std::vector<QString>{QStringLiteral("OK!")});
        EXPECT_TRUE(dialog.details[0].isEmpty());
        EXPECT_EQ(f.state.lightSettings, distinctColours());
        static_assert(quillosim::LightAreaSize == 324);
        const LightArea::Values sent = LightArea::fromSettings(distinctColours());
        const auto held = f.keyboard->memory().lights;
        for (std::size_t i = 0; i < held.size(); ++i)
            ASSERT_EQ(int(held[i]), sent[i]) << i;
    }
    finishWorkers(f.worker);

    f.keyboard->setFaults({.failWriteAt = 1});
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.clickId(DefaultButton);
    dialog.clickId(WriteButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialog.messages, std::vector<QString>{QStringLiteral("Failed!")});
    EXPECT_EQ(dialog.details[0].toStdString(), JobMessages::failure(4, {}, true));
    // The configuration took the colours all the same; the keyboard kept its own.
    EXPECT_EQ(f.state.lightSettings, LightSettings{});
    LightSettings kept = distinctColours();
    kept[0] = {};
    EXPECT_EQ(keyboardColours(*f.keyboard), kept);
}

// Read puts the keyboard's colours into the configuration and the working copy and stays
// open; Cancel then keeps what was read. A failed read says "Failed!" and why, and changes
// nothing.
TEST(BacklightDevice, ReadTakesTheKeyboardsColoursAndCancelKeepsThem)
{
    JobFixture f(1);
    const LightSettings onKeyboard = keyboardColours(*f.keyboard);
    ASSERT_NE(onKeyboard, LightSettings{}); // the factory gradient
    f.state.lightSettings[0] = {7, 7, 7};
    {
        ScriptedBacklight dialog(f);
        ASSERT_TRUE(dialog.initialise());
        dialog.show();
        dialog.clickId(ReadButton);
        ASSERT_EQ(dialog.messages, std::vector<QString>{QStringLiteral("OK!")});
        EXPECT_TRUE(dialog.isVisible());
        for (int key = 1; key <= 108; ++key) {
            EXPECT_EQ(dialog.workingColours[std::size_t(key)], onKeyboard[std::size_t(key)]);
            EXPECT_EQ(f.state.lightSettings[std::size_t(key)], onKeyboard[std::size_t(key)]);
        }
        EXPECT_EQ(dialog.workingColours[0], (LightColour{7, 7, 7}));
        dialog.clickId(CancelButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    for (int key = 1; key <= 108; ++key)
        EXPECT_EQ(f.state.lightSettings[std::size_t(key)], onKeyboard[std::size_t(key)]);
    finishWorkers(f.worker);

    f.state.lightSettings = distinctColours();
    f.keyboard->setFaults({.failReadAt = 1});
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.clickId(ReadButton);
    ASSERT_EQ(dialog.messages, std::vector<QString>{QStringLiteral("Failed!")});
    EXPECT_EQ(dialog.details[0].toStdString(), JobMessages::failure(6, {}, true));
    EXPECT_EQ(dialog.workingColours, distinctColours());
    EXPECT_EQ(f.state.lightSettings, distinctColours());
}

// A job whose progress window the user closed says "Failed!" with no reason: the user chose
// it. The read changes nothing even when its worker finishes later; the write closes the
// dialog with the colours stored.
TEST(BacklightDevice, AJobClosedByTheUserSaysFailed)
{
    JobFixture f(4);
    f.state.language = "en-US";
    const TransferJob::Waits slow{std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                                  std::chrono::milliseconds(300)};
    {
        ScriptedBacklight dialog(f);
        ASSERT_TRUE(dialog.initialise());
        dialog.setWaits(slow);
        cancelProgressWhenItShows();
        dialog.clickId(ReadButton);
        ASSERT_EQ(dialog.messages, std::vector<QString>{QStringLiteral("Failed!")});
        EXPECT_TRUE(dialog.details[0].isEmpty());
        EXPECT_EQ(dialog.workingColours, LightSettings{});
        finishWorkers(f.worker);
        EXPECT_EQ(f.state.lightSettings, LightSettings{});
    }
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.setWaits(slow);
    dialog.workingColours = distinctColours();
    cancelProgressWhenItShows();
    dialog.clickId(WriteButton);
    ASSERT_EQ(dialog.messages, std::vector<QString>{QStringLiteral("Failed!")});
    EXPECT_TRUE(dialog.details[0].isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.state.lightSettings, distinctColours());
}
