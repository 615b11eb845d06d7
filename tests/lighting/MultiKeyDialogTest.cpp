#include "LightingHarness.h"

#include "layout/BacklightTable.h"
#include "layout/MultiKeyTable.h"

#include <gtest/gtest.h>

namespace {

constexpr int KeyId(int key)
{
    return MultiKeyTable::FirstKey - 1 + key;
}

} // namespace

// MultiKey starts with nothing selected and shows the working colours, unsaved changes
// included; keys toggle, and on Set Color every selected key takes the chosen colour. Entry 0
// is no key: never selected, never changed.
TEST(MultiKeyDialog, SelectedKeysTakeTheChosenColourAndEntryZeroNever)
{
    JobFixture f(4);
    f.state.lightSettings = distinctColours();
    f.state.multiKeyExchange.selectedKeys.fill(true); // left over from nowhere
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    const LightColour edited{9, 99, 199};
    dialog.chooser.answers = {edited};
    dialog.clickId(BacklightTable::FirstKey - 1 + 5); // F4, not yet confirmed
    const LightColour entryZero = dialog.workingColours[0];

    const LightColour chosen{250, 20, 140};
    bool ran = false;
    dialog.multiKeyScript = [&](CNuboDialogBkLightMultiSelect &multi) {
        ran = true;
        for (bool selected : f.state.multiKeyExchange.selectedKeys)
            EXPECT_FALSE(selected);
        EXPECT_EQ(f.state.multiKeyExchange.colours, dialog.workingColours);
        // F4's frame already shows the edited colour.
        const QImage before = multi.grab().toImage();
        const ButtonRect f4 = multi.table()[std::size_t(multi.table().indexOfKey(5))].rect;
        for (QRgb side : frameSamples(before, f4, multi.scale()))
            EXPECT_EQ(side, qRgb(9, 99, 199));

        for (int key = 1; key <= 108; ++key)
            EXPECT_TRUE(multi.clickId(KeyId(key)));
        multi.clickId(KeyId(2)); // twice: not selected
        EXPECT_EQ(multi.selectedCount(), 107);
        EXPECT_FALSE(f.state.multiKeyExchange.selectedKeys[0]);
        EXPECT_FALSE(f.state.multiKeyExchange.selectedKeys[2]);
        EXPECT_TRUE(f.state.multiKeyExchange.selectedKeys[108]);
        // A selected key shows its highlight inside a frame that keeps its colour.
        const QImage after = multi.grab().toImage();
        const QRect inside(f4.left + 4, f4.top + 4, f4.width() - 8, f4.height() - 8);
        EXPECT_NE(after.copy(inside), before.copy(inside));
        for (QRgb side : frameSamples(after, f4, multi.scale()))
            EXPECT_EQ(side, qRgb(9, 99, 199));

        dialog.chooser.answers = {chosen};
        multi.clickId(MultiKeyTable::SetColorButton);
        EXPECT_EQ(dialog.chooser.asked.back().initial, LightColour{});
        return multi.result();
    };
    dialog.clickId(BacklightTable::MultiKeyButton);
    ASSERT_TRUE(ran);
    EXPECT_EQ(f.state.multiKeyExchange.chosenColour, chosen);
    EXPECT_EQ(dialog.workingColours[0], entryZero);
    EXPECT_EQ(dialog.workingColours[2], f.state.lightSettings[2]);
    for (int key = 1; key <= 108; ++key) {
        if (key != 2) {
            EXPECT_EQ(dialog.workingColours[std::size_t(key)], chosen) << key;
        }
    }
    // Still the dialog's own: the configuration changes on OK.
    EXPECT_NE(f.state.lightSettings[1], chosen);
}

// Set Color with no key selected ends confirmed and changes nothing; the close mark ends
// cancelled and the keys toggled meanwhile keep their colours.
TEST(MultiKeyDialog, NoSelectionOrCloseChangesNothing)
{
    JobFixture f(1);
    f.state.lightSettings = distinctColours();
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    const LightSettings before = dialog.workingColours;

    dialog.multiKeyScript = [&](CNuboDialogBkLightMultiSelect &multi) {
        dialog.chooser.answers = {LightColour{1, 2, 3}};
        multi.clickId(MultiKeyTable::SetColorButton);
        return multi.result();
    };
    dialog.clickId(BacklightTable::MultiKeyButton);
    EXPECT_EQ(f.state.multiKeyExchange.chosenColour, (LightColour{1, 2, 3}));
    EXPECT_EQ(dialog.workingColours, before);

    dialog.multiKeyScript = [&](CNuboDialogBkLightMultiSelect &multi) {
        multi.clickId(KeyId(40));
        multi.clickId(MultiKeyTable::CloseButton);
        EXPECT_TRUE(f.state.multiKeyExchange.selectedKeys[40]);
        return multi.result();
    };
    dialog.clickId(BacklightTable::MultiKeyButton);
    EXPECT_EQ(dialog.workingColours, before);
}

// In its own modal loop: a cancelled chooser leaves the dialog open with its selection, and
// the colour chosen next ends it.
TEST(MultiKeyDialog, CancellingTheChooserKeepsTheDialogOpen)
{
    JobFixture f(4);
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    const LightColour chosen{0, 255, 64};
    bool answered = false;
    whenModal([&](QWidget *modal) {
        auto *multi = qobject_cast<CNuboDialogBkLightMultiSelect *>(modal);
        ASSERT_NE(multi, nullptr);
        multi->clickId(KeyId(10));
        dialog.chooser.answers = {std::nullopt};
        multi->clickId(MultiKeyTable::SetColorButton);
        EXPECT_TRUE(multi->isVisible());
        EXPECT_EQ(multi->selectedCount(), 1);
        EXPECT_TRUE(f.state.multiKeyExchange.selectedKeys[10]);
        dialog.chooser.answers = {chosen};
        multi->clickId(MultiKeyTable::SetColorButton);
        answered = true;
    });
    dialog.clickId(BacklightTable::MultiKeyButton);
    EXPECT_TRUE(answered);
    EXPECT_EQ(dialog.workingColours[10], chosen);
    EXPECT_EQ(dialog.workingColours[11], LightColour{});
}
