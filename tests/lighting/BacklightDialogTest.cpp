#include "LightingHarness.h"

#include "layout/BacklightTable.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace BacklightTable;

namespace {

QRgb rgbOf(const LightColour &c)
{
    return qRgb(c.red, c.green, c.blue);
}

ButtonRect clientKey(const CNuboDialogBkLightSettings &dialog, int key)
{
    return dialog.table()[std::size_t(dialog.table().indexOfKey(key))].rect;
}

QPoint middleOf(const ButtonRect &r)
{
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

QImage area(const QImage &grab, const ButtonRect &r)
{
    return grab.copy(r.left, r.top, r.width(), r.height());
}

} // namespace

// Every key is framed in its own colour on all four sides, at scale 1 and stretched to 1.5,
// the tall keypad keys and Space included; a dark key shows a black frame. Keys never take
// the hover image, buttons do.
TEST(BacklightDialog, FramesShowEveryKeysColour)
{
    JobFixture f(4);
    ASSERT_EQ(f.skins.error(), SkinLibrary::Error::None);
    f.state.lightSettings = distinctColours();
    f.state.lightSettings[70] = {0, 0, 0};
    for (float factor : {1.0f, 1.5f}) {
        f.state.scaleFactor = factor;
        ScriptedBacklight dialog(f);
        ASSERT_TRUE(dialog.initialise());
        EXPECT_EQ(dialog.size(), QSize(int(1250 * factor), int(470 * factor)));
        EXPECT_EQ(dialog.workingColours, f.state.lightSettings);
        dialog.show();
        const QImage grab = dialog.grab().toImage();
        for (int key : {1, 13, 27, 54, 70, 86, 99, 106, 108}) {
            const std::vector<QRgb> sides
                = frameSamples(grab, clientKey(dialog, key), dialog.scale());
            for (std::size_t side = 0; side < sides.size(); ++side)
                EXPECT_EQ(sides[side], rgbOf(f.state.lightSettings[std::size_t(key)]))
                    << "key " << key << " side " << side << " at " << factor;
        }

        // Over Space nothing changes; over OK the button lights up.
        const ButtonRect space = clientKey(dialog, 70);
        const ButtonRect ok = dialog.table()[std::size_t(dialog.table().indexOfId(OkButton))].rect;
        moveMouse(dialog, middleOf(space));
        const QImage overSpace = dialog.grab().toImage();
        EXPECT_EQ(area(overSpace, space), area(grab, space));
        moveMouse(dialog, middleOf(ok));
        const QImage overOk = dialog.grab().toImage();
        EXPECT_NE(area(overOk, ok), area(grab, ok));
        EXPECT_EQ(area(overOk, space), area(grab, space));
    }
}

// A key's colour changes only when a different colour is confirmed; only then is the dialog
// repainted. The chooser starts from the key's colour. Nothing reaches the configuration
// before OK.
TEST(BacklightDialog, KeyColourChangesOnlyWhenANewColourIsConfirmed)
{
    JobFixture f(4);
    f.state.lightSettings = distinctColours();
    const LightSettings before = f.state.lightSettings;
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    const int w = FirstKey - 1 + 30;

    dialog.chooser.answers = {before[30]};
    EXPECT_EQ(paintsDuring(dialog, [&] { dialog.clickId(w); }), 0);
    ASSERT_EQ(dialog.chooser.asked.size(), 1u);
    EXPECT_EQ(dialog.chooser.asked[0].initial, before[30]);
    EXPECT_EQ(dialog.chooser.asked[0].parent, &dialog);
    EXPECT_EQ(dialog.workingColours, before);

    dialog.chooser.answers = {std::nullopt};
    EXPECT_EQ(paintsDuring(dialog, [&] { dialog.clickId(w); }), 0);
    EXPECT_EQ(dialog.workingColours, before);

    const LightColour orange{255, 111, 0};
    dialog.chooser.answers = {orange};
    EXPECT_GT(paintsDuring(dialog, [&] { dialog.clickId(w); }), 0);
    EXPECT_EQ(dialog.workingColours[30], orange);
    const std::vector<QRgb> sides
        = frameSamples(dialog.grab().toImage(), clientKey(dialog, 30), dialog.scale());
    for (QRgb side : sides)
        EXPECT_EQ(side, qRgb(255, 111, 0));
    EXPECT_EQ(f.state.lightSettings, before);

    dialog.clickId(CancelButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(f.state.lightSettings, before);
    EXPECT_TRUE(dialog.messages.empty());
}

// Default darkens only the working colours: Cancel (and the close mark, and Escape) keeps the
// configuration's, OK makes all 109 entries zero. Neither marks the keys as not written.
TEST(BacklightDialog, DefaultThenCancelOrOk)
{
    JobFixture f(4);
    f.state.lightSettings = distinctColours();
    const LightSettings before = f.state.lightSettings;
    for (int leave : {int(CancelButton), int(CloseButton), 0}) {
        ScriptedBacklight dialog(f);
        ASSERT_TRUE(dialog.initialise());
        dialog.clickId(DefaultButton);
        for (const LightColour &c : dialog.workingColours)
            EXPECT_EQ(c, LightColour{});
        if (leave)
            dialog.clickId(leave);
        else
            dialog.reject();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(f.state.lightSettings, before) << leave;
    }

    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.clickId(DefaultButton);
    dialog.clickId(OkButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    for (const LightColour &c : f.state.lightSettings)
        EXPECT_EQ(c, LightColour{});
    EXPECT_FALSE(f.state.notWritten);
    EXPECT_TRUE(dialog.messages.empty());
}

// Set All starts the chooser from black and gives all 109 entries the colour, entry 0 too; a
// cancelled chooser changes nothing.
TEST(BacklightDialog, SetAllIncludesEntryZero)
{
    JobFixture f(1);
    f.state.lightSettings = distinctColours();
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.chooser.answers = {std::nullopt};
    dialog.clickId(SetAllButton);
    EXPECT_EQ(dialog.workingColours, f.state.lightSettings);

    const LightColour teal{0, 180, 170};
    dialog.chooser.answers = {teal};
    dialog.clickId(SetAllButton);
    ASSERT_EQ(dialog.chooser.asked.size(), 2u);
    EXPECT_EQ(dialog.chooser.asked[1].initial, LightColour{});
    for (const LightColour &c : dialog.workingColours)
        EXPECT_EQ(c, teal);
    dialog.clickId(OkButton);
    EXPECT_EQ(f.state.lightSettings[0], teal);
    EXPECT_EQ(f.state.lightSettings[108], teal);
}
