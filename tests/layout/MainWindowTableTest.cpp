#include "layout/MainWindowTable.h"
#include "model/KeyboardModel.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const DrawnButton *find(const std::vector<DrawnButton> &table, int id)
{
    const int i = MainWindowTable::indexOf(table, id);
    return i < 0 ? nullptr : &table[std::size_t(i)];
}

bool overlap(const ButtonRect &a, const ButtonRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

TEST(MainWindowTable, EveryVariantHasWellFormedNonOverlappingEntriesInsideTheFace)
{
    for (int variant = 0; variant <= 4; ++variant) {
        SCOPED_TRACE(variant);
        const auto table = MainWindowTable::build(variant);
        ASSERT_EQ(int(table.size()), MainWindowTable::EntryCount);

        std::vector<const DrawnButton *> buttons;
        std::set<int> ids;
        for (const DrawnButton &entry : table) {
            if (!entry.isUsed()) {
                EXPECT_EQ(entry.rect, ButtonRect{});
                continue;
            }
            EXPECT_TRUE(ids.insert(entry.id).second) << "duplicate id " << entry.id;
            EXPECT_LT(entry.rect.left, entry.rect.right);
            EXPECT_LT(entry.rect.top, entry.rect.bottom);
            EXPECT_GE(entry.rect.left, 0);
            EXPECT_LE(entry.rect.right, MainWindowTable::BaseWidth);
            EXPECT_LE(entry.rect.bottom, MainWindowTable::BaseHeight);
            EXPECT_EQ(entry.captions.count("zh-CN"), 1u);
            EXPECT_EQ(entry.captions.count("en-US"), 1u);
            if (entry.isHittable())
                buttons.push_back(&entry);
        }
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            for (std::size_t j = i + 1; j < buttons.size(); ++j)
                EXPECT_FALSE(overlap(buttons[i]->rect, buttons[j]->rect))
                    << buttons[i]->id << " overlaps " << buttons[j]->id;
        }
        const bool wide = variant != 2 && variant != 3;
        // The tool bar, the keys and the heatmap's and key test's toggles.
        EXPECT_EQ(buttons.size(), wide ? 15u + 108u : 14u + 108u);
        EXPECT_EQ(ids.size(), wide ? 144u : 142u);
    }
}

TEST(MainWindowTable, TableOrderIsToolBarThenKeysThenLabels)
{
    const auto table = MainWindowTable::build(4);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(table[std::size_t(i)].id, 85 + i);
    for (int key = 1; key <= 108; ++key) {
        const DrawnButton &entry = table[std::size_t(12 + key)];
        EXPECT_EQ(entry.id, 99 + key);
        EXPECT_EQ(entry.keyIndex, key);
        EXPECT_FALSE(entry.isLabel);
        EXPECT_EQ(entry.captions.at("zh-CN"), entry.captions.at("en-US"));
        EXPECT_EQ(entry.captions.at("en-US"), MainWindowTable::keyCaption(key));
    }
    const int labelIds[] = {65, 67, 70, 71, 72, 73, 74, 75, 76, 77, 78, 55, 56, 57, 58, 59, 60, 61};
    for (std::size_t i = 0; i < std::size(labelIds); ++i) {
        const DrawnButton &entry = table[121 + i];
        EXPECT_EQ(entry.id, labelIds[i]);
        EXPECT_TRUE(entry.isLabel);
        EXPECT_EQ(entry.fontSize, entry.id >= FirstLegendLabel && entry.id <= LastLegendLabel
                                      ? MainWindowTable::LegendFontSize
                                      : 13);
    }
    // The heatmap's and the key test's toggles and their captions come after everything else.
    EXPECT_EQ(table[139].id, HeatmapButton);
    EXPECT_EQ(table[140].id, KeyTestButton);
    EXPECT_FALSE(table[140].isLabel);
    EXPECT_EQ(table[141].id, HeatmapLabel);
    EXPECT_EQ(table[142].id, KeyTestLabel);
    EXPECT_TRUE(table[142].isLabel);
    // The card's line under the model's name, in the legend's size.
    EXPECT_EQ(table[143].id, ModelCardLabel);
    EXPECT_TRUE(table[143].isLabel);
    EXPECT_EQ(table[143].fontSize, MainWindowTable::LegendFontSize);
    for (std::size_t i = 144; i < table.size(); ++i)
        EXPECT_FALSE(table[i].isUsed());
}

TEST(MainWindowTable, SmallVariantsLoseTheBacklightSlotAndShiftTheirButtons)
{
    for (int variant : {2, 3}) {
        const auto table = MainWindowTable::build(variant);
        EXPECT_EQ(find(table, BacklightButton), nullptr);
        EXPECT_EQ(find(table, BacklightLabel), nullptr);
        // The slots stay in place, empty.
        EXPECT_FALSE(table[9].isUsed());
        EXPECT_FALSE(table[127].isUsed());
        EXPECT_EQ(find(table, LoadButton)->rect, (ButtonRect{435, 92, 535, 128}));
        EXPECT_EQ(find(table, FirmwareButton)->rect, (ButtonRect{540, 92, 635, 128}));
        EXPECT_EQ(find(table, GetCounterButton)->rect, (ButtonRect{645, 92, 737, 128}));
        EXPECT_EQ(find(table, LanguageButton)->rect, (ButtonRect{750, 92, 845, 128}));
        EXPECT_EQ(find(table, GetCounterLabel)->rect, (ButtonRect{650, 101, 735, 130}));
        EXPECT_EQ(find(table, LanguageLabel)->rect, (ButtonRect{750, 101, 845, 130}));
    }
    for (int variant : {0, 1, 4}) {
        const auto table = MainWindowTable::build(variant);
        ASSERT_NE(find(table, BacklightButton), nullptr);
        EXPECT_EQ(find(table, BacklightButton)->rect, (ButtonRect{435, 92, 535, 128}));
        EXPECT_EQ(find(table, BacklightLabel)->captions.at("en-US"), "LightSet");
        EXPECT_EQ(find(table, LanguageButton)->rect, (ButtonRect{855, 92, 950, 128}));
    }
}

TEST(MainWindowTable, LabelsCarryTheirFormatsColoursAndTexts)
{
    const auto table = MainWindowTable::build(1);
    const DrawnButton *top = find(table, TopLayerLabel);
    const DrawnButton *fn = find(table, FnLayerLabel);
    EXPECT_EQ(top->textFormat, 2u);
    EXPECT_EQ(fn->textFormat, 0u);
    for (const DrawnButton *layer : {top, fn}) {
        EXPECT_EQ(layer->textColor, 0xC8C8C8u);
        EXPECT_EQ(layer->checkedTextColor, 0x00FF00u);
    }
    EXPECT_EQ(find(table, LanguageLabel)->textFormat, 1u);
    EXPECT_EQ(find(table, 58)->textFormat, 0u);
    EXPECT_EQ(find(table, 58)->captions.at("zh-CN"), "多媒体键");
    // The language button always names the other language.
    EXPECT_EQ(find(table, LanguageLabel)->captions.at("zh-CN"), "English");
    EXPECT_EQ(find(table, LanguageLabel)->captions.at("en-US"), "简体中文");
    // Key names differ from captions only where the legend is short.
    EXPECT_EQ(find(table, 99 + 72)->tooltips.at("en-US"), "RWin");
    EXPECT_EQ(find(table, 99 + 72)->captions.at("en-US"), "Fn");
    EXPECT_EQ(find(table, 99 + 75)->tooltips.at("zh-CN"), "PrintScreen");
}

TEST(MainWindowTable, ModelNames)
{
    EXPECT_STREQ(KeyboardModel::name(0), "Quillo(RGB)BLe");
    EXPECT_STREQ(KeyboardModel::name(1), "Quillo(RGB)BLe");
    EXPECT_STREQ(KeyboardModel::name(2), "Quillo(S)BLe");
    EXPECT_STREQ(KeyboardModel::name(3), "Quillo(S)");
    EXPECT_STREQ(KeyboardModel::name(4), "Quillo(RGB)");
}
