#include "layout/KeySettingsTable.h"
#include "keymap/ActionListView.h"
#include "layout/ButtonTable.h"
#include "layout/KeySettingsCodes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace KeySettingsTable;

namespace {

std::set<int> functionButtons(int deviceType)
{
    std::set<int> ids;
    for (const DrawnButton &entry : build(deviceType)) {
        if (pageOfId(entry.id) == 6 && !entry.isLabel)
            ids.insert(entry.id);
    }
    return ids;
}

std::set<int> range(int first, int last)
{
    std::set<int> ids;
    for (int id = first; id <= last; ++id)
        ids.insert(id);
    return ids;
}

} // namespace

TEST(KeySettingsTable, EveryEntryLiesOnTheFaceAndHitsAlone)
{
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        SCOPED_TRACE(deviceType);
        const std::vector<DrawnButton> table = build(deviceType);
        ASSERT_EQ(table.size(), std::size_t(EntryCount));
        std::map<int, int> seen;
        for (const DrawnButton &entry : table) {
            if (!entry.isUsed())
                continue;
            EXPECT_EQ(++seen[entry.id], 1) << entry.id;
            EXPECT_GE(entry.rect.left, 0) << entry.id;
            EXPECT_GE(entry.rect.top, 0) << entry.id;
            EXPECT_LE(entry.rect.right, BaseWidth) << entry.id;
            EXPECT_LE(entry.rect.bottom, BaseHeight) << entry.id;
            EXPECT_LT(entry.rect.left, entry.rect.right) << entry.id;
            EXPECT_EQ(entry.isLabel, kindOf(entry.id) == Kind::Label) << entry.id;
            if (entry.isLabel) {
                EXPECT_FALSE(entry.captions.at("zh-CN").empty()) << entry.id;
            }
        }
        // Two buttons shown at once never overlap, so a click has one meaning.
        for (const DrawnButton &a : table) {
            for (const DrawnButton &b : table) {
                if (&a >= &b || !a.isHittable() || !b.isHittable())
                    continue;
                const int pa = pageOfId(a.id);
                const int pb = pageOfId(b.id);
                if (pa != 0 && pb != 0 && pa != pb)
                    continue;
                const bool overlap = a.rect.left < b.rect.right && b.rect.left < a.rect.right
                                     && a.rect.top < b.rect.bottom && b.rect.top < a.rect.bottom;
                EXPECT_FALSE(overlap) << a.id << " and " << b.id;
            }
        }
    }
    // The code buttons carry their codes and tooltips in both languages.
    const std::vector<DrawnButton> table = build(1);
    for (const DrawnButton &entry : table) {
        if (const KeySettingsCodes::CodeButton *button = KeySettingsCodes::buttonOfId(entry.id)) {
            EXPECT_EQ(entry.itemCode, button->code) << entry.id;
            EXPECT_EQ(entry.tooltips.at("en-US"), button->en) << entry.id;
        }
    }
    const auto entryOf = [&](int id) {
        for (const DrawnButton &entry : table) {
            if (entry.id == id)
                return entry;
        }
        return DrawnButton{};
    };
    EXPECT_EQ(entryOf(409).rect, (ButtonRect{46, 235, 81, 272}));
    EXPECT_EQ(entryOf(408).rect, (ButtonRect{396, 152, 431, 188}));
    EXPECT_EQ(entryOf(615).tooltips.at("en-US"), "FN key,Key's 2 layer must be set to FN");
    EXPECT_EQ(entryOf(751).captions.at("en-US"), "Wake");
    EXPECT_EQ(entryOf(701).tooltips.at("en-US"), "WakeUp");
}

TEST(KeySettingsTable, FunctionButtonsFollowTheKeyboard)
{
    std::set<int> quilloS{605, 608, 610, 611, 623, 624};
    for (int id = 613; id <= 617; ++id)
        quilloS.insert(id);
    EXPECT_EQ(functionButtons(3), quilloS);

    std::set<int> wireless = range(601, 618);
    wireless.insert({623, 624});
    EXPECT_EQ(functionButtons(2), wireless);

    std::set<int> rgb = quilloS;
    for (int id : range(620, 622))
        rgb.insert(id);
    for (int id : range(630, 636))
        rgb.insert(id);
    EXPECT_EQ(functionButtons(4), rgb);

    std::set<int> all = range(601, 618);
    for (int id : range(620, 624))
        all.insert(id);
    for (int id : range(630, 636))
        all.insert(id);
    EXPECT_EQ(functionButtons(1), all);
    EXPECT_EQ(functionButtons(0), all);

    // A button stands at the place of its id on every keyboard.
    for (const DrawnButton &entry : build(3)) {
        if (entry.id == 623) {
            EXPECT_EQ(entry.rect, (ButtonRect{36 + 53 * 3, 220, 72 + 53 * 3, 256}));
        }
    }
}

TEST(ActionListView, RowsShowTheWindowOfTheList)
{
    ButtonTable table(EntryCount);
    table.assign(build(1));
    ActionList list(9);
    for (int i = 0; i < 12; ++i)
        list.setAt(20000, "m" + std::to_string(i));
    list.top = 5;
    list.selected = 2;

    ActionListView view(FirstMacroRow, 9);
    view.bind(table);
    view.show(&list);
    view.paintRows(table);
    const auto row = [&](int r) -> DrawnButton & {
        return table[std::size_t(table.indexOfId(FirstMacroRow + r))];
    };
    EXPECT_EQ(row(0).caption("zh-CN"), "m5");
    EXPECT_EQ(row(0).caption("en-US"), "m5");
    EXPECT_EQ(row(6).caption("en-US"), "m11");
    EXPECT_EQ(row(7).caption("en-US"), "");
    EXPECT_TRUE(row(2).checked);
    EXPECT_FALSE(row(1).checked);
    EXPECT_TRUE(view.rowHasEntry(6));
    EXPECT_FALSE(view.rowHasEntry(7));
    EXPECT_EQ(view.rowOf(FirstMacroRow + 8), 8);
    EXPECT_EQ(view.rowOf(FirstMacroStepRow), -1);

    // The bar: range n + rows - 1, a page of rows, the position at the selected entry.
    const ScrollInfo info = view.scrollInfo();
    EXPECT_EQ(info.maximum, 12 + 9 - 1);
    EXPECT_EQ(info.page, 9);
    EXPECT_EQ(info.position, 7);
    EXPECT_EQ(view.scrollTarget(ActionListView::LineUp, 0), 6);
    EXPECT_EQ(view.scrollTarget(ActionListView::PageDown, 0), 11);
    EXPECT_EQ(view.scrollTarget(ActionListView::PageUp, 0), 0);
    EXPECT_EQ(view.scrollTarget(ActionListView::ThumbTrack, 15), 11);
    EXPECT_EQ(view.scrollTarget(ActionListView::ThumbPosition, 3), 3);
    EXPECT_EQ(view.scrollTarget(8, 0), -1); // end of scroll: nothing moves

    // An empty list selects nothing and has nothing to scroll.
    ActionList empty(9);
    view.show(&empty);
    view.paintRows(table);
    EXPECT_FALSE(row(0).checked);
    EXPECT_EQ(view.scrollInfo().maximum, 8);
    EXPECT_EQ(view.scrollTarget(ActionListView::LineDown, 0), -1);
}
