#include "layout/ButtonTable.h"
#include "layout/ScaleFactor.h"
#include "layout/SkinSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

DrawnButton button(int id, ButtonRect rect, bool label = false)
{
    DrawnButton entry;
    entry.id = id;
    entry.rect = rect;
    entry.isLabel = label;
    return entry;
}

} // namespace

TEST(ScaleFactor, FollowsScreenHeight)
{
    EXPECT_FLOAT_EQ(computeScaleFactor(768), 1.0f);
    EXPECT_FLOAT_EQ(computeScaleFactor(1079), 1.0f);
    EXPECT_FLOAT_EQ(computeScaleFactor(1080), 1.5f); // a ratio of exactly 1 rounds up too
    EXPECT_FLOAT_EQ(computeScaleFactor(1440), 1.5f);
    EXPECT_FLOAT_EQ(computeScaleFactor(1621), 2.0f);
    EXPECT_FLOAT_EQ(computeScaleFactor(2160), 2.0f);
    EXPECT_FLOAT_EQ(computeScaleFactor(5400), 5.0f);
    EXPECT_NEAR(computeScaleFactor(6000), 6000.0f / 1080.0f, 1e-5); // beyond 5: unrounded
    EXPECT_FLOAT_EQ(computeScaleFactor(0), 1.0f);
}

TEST(ScaleFactor, LogicalPixelsCoverTheFactorInDevicePixels)
{
    // 200 %: a 2160-pixel screen reports 1080 logical pixels and gets the factor of 2160.
    EXPECT_EQ(devicePixels(1080, 2.0), 2160);
    EXPECT_FLOAT_EQ(logicalScale(computeScaleFactor(devicePixels(1080, 2.0)), 2.0), 1.0f);
    EXPECT_EQ(scaledPixels(1240, logicalScale(2.0f, 2.0)) * 2, 2480);
    // 125 %: 1728 logical lines are 2160 device lines; 1.5 device becomes 1.2 logical.
    EXPECT_EQ(devicePixels(1728, 1.25), 2160);
    EXPECT_FLOAT_EQ(logicalScale(1.5f, 1.25), 1.2f);
    EXPECT_EQ(scaledPixels(1240, logicalScale(1.5f, 1.25)), 1488); // 1860 device pixels
    // Without a ratio the factor is taken as it is.
    EXPECT_FLOAT_EQ(logicalScale(1.5f, 1.0), 1.5f);
    EXPECT_FLOAT_EQ(logicalScale(1.5f, 0.0), 1.5f);
    EXPECT_EQ(devicePixels(37, 0.0), 37);
}

TEST(ScaleFactor, PlacementCentresAndTruncates)
{
    const FramePlacement p = centredPlacement(1240, 670, 1920, 1080, 1.5f);
    EXPECT_EQ(p.width, 1860);
    EXPECT_EQ(p.height, 1005);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 37); // 37.5 truncated
    // A face larger than the screen gets a negative origin, truncated toward zero.
    const FramePlacement big = centredPlacement(1240, 670, 1024, 768, 1.0f);
    EXPECT_EQ(big.x, -108);
    EXPECT_EQ(big.y, 49);
    const FramePlacement odd = centredPlacement(101, 51, 200, 100, 1.0f);
    EXPECT_EQ(odd.x, 49); // 49.5
    EXPECT_EQ(odd.y, 24); // 24.5
}

TEST(ButtonTable, ScalingLeavesLabelsInBasePixels)
{
    ButtonTable table(4);
    table[0] = button(5, {100, 40, 150, 60});
    table[1] = button(5, {100, 40, 150, 60}, true);
    table[3] = button(7, {855, 92, 950, 128});
    table.scaleToClient(1.5f);
    EXPECT_EQ(table[0].rect, (ButtonRect{150, 60, 225, 90}));
    EXPECT_EQ(table[1].rect, (ButtonRect{100, 40, 150, 60}));
    EXPECT_EQ(table[2].rect, (ButtonRect{-1, -1, -1, -1})); // empty slot scaled, trunc(-1.5)
    EXPECT_EQ(table[3].rect, (ButtonRect{1282, 138, 1425, 192}));

    // Back to base pixels: origin and size each truncated.
    EXPECT_EQ(ButtonTable::toBase(table[0].rect, 1.5f), (ButtonRect{100, 40, 150, 60}));
    EXPECT_EQ(ButtonTable::toBase(table[3].rect, 1.5f), (ButtonRect{854, 92, 949, 128}));
    const ButtonRect odd = ButtonTable::toClient({3, 3, 10, 10}, 5.5555556f);
    EXPECT_EQ(odd, (ButtonRect{16, 16, 55, 55}));
    EXPECT_EQ(ButtonTable::toBase(odd, 5.5555556f), (ButtonRect{2, 2, 9, 9}));
}

TEST(ButtonTable, FirstHitSkipsLabelsAndEmptySlots)
{
    ButtonTable table(5);
    table[0] = button(10, {0, 0, 50, 50}, true); // label over everything: never hit
    table[1] = button(-1, {0, 0, 100, 100});     // empty slot
    table[2] = button(0, {0, 0, 100, 100});      // id below 1 is empty too
    table[3] = button(20, {10, 10, 60, 60});
    table[4] = button(30, {40, 40, 90, 90}); // overlaps 20: the earlier entry wins
    EXPECT_EQ(table.firstHit(5, 5), -1);
    EXPECT_EQ(table.firstHit(10, 10), 3);
    EXPECT_EQ(table.firstHit(45, 45), 3);
    EXPECT_EQ(table.firstHit(60, 60), 4); // right and bottom are exclusive
    EXPECT_EQ(table.firstHit(89, 89), 4);
    EXPECT_EQ(table.firstHit(90, 50), -1);
    EXPECT_EQ(table.indexOfId(30), 4);
    EXPECT_EQ(table.indexOfId(99), -1);
}

TEST(ButtonTable, HoverReportsOnlyChangedRectangles)
{
    ButtonTable table(4);
    table[0] = button(1, {0, 0, 10, 10});
    table[1] = button(2, {5, 0, 20, 10});
    table[2] = button(3, {0, 0, 30, 30}, true);
    table[3] = button(-1, {0, 0, 30, 30});

    auto changed = table.updateHover(7, 5); // both buttons, neither label nor empty slot
    EXPECT_EQ(changed.size(), 2u);
    EXPECT_TRUE(table[0].hovered && table[1].hovered);
    EXPECT_FALSE(table[2].hovered || table[3].hovered);

    EXPECT_TRUE(table.updateHover(8, 5).empty());
    changed = table.updateHover(15, 5);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], table[0].rect);
    changed = table.updateHover(-1, -1);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], table[1].rect);
}

TEST(ButtonTable, FrameCodeDragsEverywhereButButtonsAndEdges)
{
    EXPECT_EQ(ButtonTable::frameHitCode(true, 199, 99, 200, 100), HitClient);
    EXPECT_EQ(ButtonTable::frameHitCode(false, 0, 0, 200, 100), HitCaption);
    EXPECT_EQ(ButtonTable::frameHitCode(false, 194, 94, 200, 100), HitCaption);
    EXPECT_EQ(ButtonTable::frameHitCode(false, 195, 50, 200, 100), HitRight);
    EXPECT_EQ(ButtonTable::frameHitCode(false, 50, 95, 200, 100), HitBottom);
    EXPECT_EQ(ButtonTable::frameHitCode(false, 195, 95, 200, 100), HitBottomRight);
}

TEST(ButtonTable, AssignKeepsTheFixedSize)
{
    ButtonTable table(2);
    EXPECT_TRUE(table.assign({button(1, {0, 0, 1, 1})}));
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].id, -1);
    EXPECT_FALSE(table.assign({button(1, {}), button(2, {}), button(3, {})}));
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].id, 2);
}

TEST(ButtonTable, MissingLanguageShowsEmptyText)
{
    DrawnButton entry;
    entry.setTooltip("帮助", "");
    entry.tooltips.erase("en-US");
    EXPECT_EQ(entry.tooltip("en-US"), "");
    EXPECT_EQ(entry.tooltips.count("en-US"), 1u);
    EXPECT_EQ(entry.tooltip("zh-CN"), "帮助");
}

TEST(SkinIds, SetsByDialogAndVariant)
{
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MainWindow, 0), (SkinSet{101, 102, 103}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MainWindow, 1), (SkinSet{101, 102, 103}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MainWindow, 2), (SkinSet{146, 148, 147}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MainWindow, 3), (SkinSet{154, 155, 153}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MainWindow, 4), (SkinSet{157, 158, 156}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MainWindow, 9), (SkinSet{101, 102, 103}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::KeySettings, 1, 1), (SkinSet{107, 108, 109}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::KeySettings, 1, 6), (SkinSet{122, 123, 124}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::KeySettings, 3, 6).background, 150);
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::KeySettings, 4, 7), (SkinSet{125, 126, 127}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::Backlight, 3), (SkinSet{131, 132, 133}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::Backlight, 4), (SkinSet{161, 162, 160}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::MultiKeyColour, 4), (SkinSet{164, 165, 163}));
    EXPECT_EQ(SkinIds::skinSet(SkinDialog::Progress, 2).background, 139);

    // Pages never collide with each other nor with the scroll bar.
    std::set<int> ids;
    for (int page = 1; page <= SkinIds::KeySettingsPages; ++page) {
        const SkinSet set = SkinIds::skinSet(SkinDialog::KeySettings, 1, page);
        ids.insert({set.background, set.hover, set.checked});
    }
    EXPECT_EQ(ids.size(), 21u);
    EXPECT_EQ(*ids.begin(), 107);
    EXPECT_EQ(*ids.rbegin(), 127);

    const std::vector<int> needed = SkinIds::programBitmapIds(2);
    EXPECT_NE(std::find(needed.begin(), needed.end(), 146), needed.end());
    EXPECT_NE(std::find(needed.begin(), needed.end(), SkinIds::ScrollBar), needed.end());
}
