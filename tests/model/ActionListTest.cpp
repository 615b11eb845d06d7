#include "model/ActionList.h"

#include <gtest/gtest.h>

namespace {

ActionList listOf(int rows, int count)
{
    ActionList list(rows);
    for (int i = 0; i < count; ++i)
        list.setAt(200000, "entry " + std::to_string(i));
    return list;
}

void expectInvariants(const ActionList &list)
{
    ASSERT_EQ(list.names.size(), list.items.size());
    if (list.size() == 0) {
        EXPECT_EQ(list.top, 0);
        EXPECT_EQ(list.selected, 0);
    } else {
        EXPECT_GE(list.top, 0);
        EXPECT_LT(list.top, list.size());
        EXPECT_GE(list.selected, 0);
        EXPECT_LT(list.top + list.selected, list.size());
    }
}

} // namespace

TEST(ActionList, AppendKeepsTheNewEntrySelectedAndVisible)
{
    ActionList list = listOf(9, 9);
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.selected, 8);

    list.setAt(20000, "tenth");
    EXPECT_EQ(list.top, 1);
    EXPECT_EQ(list.selected, 8);
    EXPECT_EQ(list.nameAt(8), "tenth");
    EXPECT_EQ(list.items.back().pageRows, 9);
    expectInvariants(list);
}

TEST(ActionList, RowsOutsideTheListReadAsEmpty)
{
    ActionList list = listOf(6, 2);
    EXPECT_EQ(list.nameAt(5), "");
    EXPECT_EQ(list.nameAt(-1), "");
    EXPECT_EQ(list.entryAt(5).pageRows, 6);
    EXPECT_TRUE(list.entryAt(5).names.empty());
}

TEST(ActionList, SetAndInsertReplaceOrInsertInsideTheList)
{
    ActionList list = listOf(9, 3);
    list.items.editAt(1).times = 7;
    list.top = 1;
    list.selected = 0;

    list.setAt(0, "renamed");
    EXPECT_EQ(list.names[1], "renamed");
    EXPECT_EQ(list.items[1].times, 7); // the entry keeps its settings

    list.insertAt(0, "inserted");
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list.names[1], "inserted");
    EXPECT_EQ(list.items[1].times, 1);
    EXPECT_EQ(list.names[2], "renamed");
    expectInvariants(list);
}

TEST(ActionList, RemoveKeepsTopAndSelectionInRange)
{
    ActionList single = listOf(9, 1);
    single.removeAt(0);
    EXPECT_EQ(single.size(), 0);
    expectInvariants(single);
    single.removeAt(0); // nothing to remove
    expectInvariants(single);

    ActionList list = listOf(9, 12); // top 3, selected 8
    for (int n = 12; n > 0; --n) {
        list.removeAt(list.selected);
        EXPECT_EQ(list.size(), n - 1);
        expectInvariants(list);
    }

    ActionList far = listOf(9, 4);
    far.removeAt(100); // beyond the end removes the last entry
    EXPECT_EQ(far.names.back(), "entry 2");
    expectInvariants(far);
}

TEST(ActionList, LocateSelectsAnEqualEntryOrAppendsIt)
{
    ActionList list = listOf(9, 20);
    list.top = 0;
    list.selected = 0;
    ActionList wanted;
    wanted.names = {"A Down", "A UP"};
    wanted.delayMs = 50;
    wanted.pageRows = 3; // not compared
    list.items.editAt(15) = wanted;
    list.items.editAt(15).pageRows = 9;

    list.locate(wanted);
    EXPECT_EQ(list.top, 15);
    EXPECT_EQ(list.selected, 0);

    list.items.editAt(16) = list.items[15];
    list.items.editAt(16).names.push_back("B Down");
    ActionList second = list.items[16];
    list.locate(second);
    EXPECT_EQ(list.top, 15);
    EXPECT_EQ(list.selected, 1);

    ActionList absent = wanted;
    absent.playMode = 2;
    list.locate(absent);
    ASSERT_EQ(list.size(), 21);
    EXPECT_EQ(list.names.back(), "default");
    EXPECT_TRUE(list.items.back().sameAction(absent));
    expectInvariants(list);
}

TEST(ActionList, ScrollingSelectsAndMovesTheWindowOnlyWhenNeeded)
{
    ActionList list = listOf(9, 20);
    list.top = 0;
    list.selected = 0;
    EXPECT_EQ(list.scrollRange(), 28);

    list.scrollTo(5);
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.selected, 5);
    list.scrollTo(12);
    EXPECT_EQ(list.top, 12);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.scrollPosition(), 12);
    list.scrollTo(28); // past the last entry
    EXPECT_EQ(list.top, 12);
    EXPECT_EQ(list.selected, 7);
    list.scrollTo(-4);
    EXPECT_EQ(list.scrollPosition(), 0);
    expectInvariants(list);

    ActionList empty(6);
    empty.scrollTo(3);
    expectInvariants(empty);
}

TEST(ActionList, PositionsFromOutsideAreBroughtWithinTheList)
{
    ActionList list = listOf(9, 5);
    list.top = 7;
    list.selected = -3;
    list.pageRows = 0;
    list.clampPositions();
    EXPECT_EQ(list.top, 4);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.pageRows, 1);
    expectInvariants(list);

    list.top = -2;
    list.selected = 40;
    list.clampPositions();
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.selected, 4);

    ActionList empty(6);
    empty.top = 3;
    empty.selected = 1;
    empty.clampPositions();
    expectInvariants(empty);
}
