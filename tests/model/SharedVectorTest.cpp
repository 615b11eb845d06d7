#include "model/ActionList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Steps = std::vector<std::string>;

TEST(SharedVector, ACopySharesUntilEitherSideChanges)
{
    const SharedVector<std::string> original{"A Down", "<30 ms>", "A UP"};
    SharedVector<std::string> copy = original;
    EXPECT_TRUE(copy.sharesWith(original));
    EXPECT_TRUE(original.isShared());

    // Every kind of change leaves the other side as it was.
    const auto changed = [&](auto change, const Steps &expected) {
        SharedVector<std::string> mine = original;
        change(mine);
        EXPECT_EQ(mine, expected);
        EXPECT_FALSE(mine.sharesWith(original));
        EXPECT_EQ(original, (Steps{"A Down", "<30 ms>", "A UP"}));
    };
    changed([](auto &v) { v.push_back("B Down"); }, {"A Down", "<30 ms>", "A UP", "B Down"});
    changed([](auto &v) { v.set(1, "<40 ms>"); }, {"A Down", "<40 ms>", "A UP"});
    changed([](auto &v) { v.insert(v.begin() + 1, "X"); }, {"A Down", "X", "<30 ms>", "A UP"});
    changed([](auto &v) { v.erase(v.begin(), v.begin() + 2); }, {"A UP"});
    changed([](auto &v) { v.resize(1); }, {"A Down"});
    changed([](auto &v) { v.pop_back(); }, {"A Down", "<30 ms>"});
    changed([](auto &v) { v.clear(); }, {});
    changed([](auto &v) { v.edit()[2] = "B UP"; }, {"A Down", "<30 ms>", "B UP"});
    copy.clear();
    EXPECT_FALSE(original.isShared()); // no copy holds it any more

    // A copy of equal contents is equal without sharing; an empty one holds nothing.
    EXPECT_EQ(SharedVector<std::string>(original.values()), original);
    EXPECT_EQ(SharedVector<std::string>().capacity(), 0u);
}

TEST(SharedVector, ListsCopyOnWriteAtEveryDepth)
{
    ActionList list(9);
    list.append("copy");
    list.items.editBack().append("LCTRL");
    list.items.editBack().append("C");
    list.append("paste");

    const ActionList kept = list;
    list.items.editAt(0).setAt(1, "V");
    list.items.editAt(0).times = 3;
    list.setAt(1, "renamed");

    EXPECT_EQ(kept.names, (Steps{"copy", "paste"}));
    EXPECT_EQ(kept.items[0].names, (Steps{"LCTRL", "C"}));
    EXPECT_EQ(kept.items[0].times, 1);
    EXPECT_EQ(list.items[0].names, (Steps{"LCTRL", "V"}));
    // The entry left alone is still one block for both.
    EXPECT_TRUE(list.items[1].names.sharesWith(kept.items[1].names));
}
