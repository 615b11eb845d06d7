#include "model/StepEditing.h"
#include "model/EntryNames.h"
#include "model/KeyCatalogue.h"
#include "model/StepText.h"

#include <gtest/gtest.h>

#include <memory>

using namespace StepEditing;
using Steps = std::vector<std::string>;

namespace {

ActionList macroOf(Steps steps, bool autoDelay = false)
{
    ActionList macro(9);
    for (const std::string &step : steps)
        macro.setAt(20000, step);
    macro.top = 0;
    macro.selected = 0;
    macro.autoDelay = autoDelay;
    return macro;
}

// Recorded delays pair every key with the delay after it.
bool alternates(const ActionList &macro)
{
    for (int i = 0; i < macro.size(); ++i) {
        if (StepText::isDelayStep(macro.names[std::size_t(i)]) != (i % 2 == 1))
            return false;
    }
    return macro.names.size() == macro.items.size();
}

class StepEditingTest : public ::testing::Test {
protected:
    std::unique_ptr<KeyCatalogue> catalogue = std::make_unique<KeyCatalogue>();
};

} // namespace

TEST(StepEditing, SwitchingDelayModesDropsAndPutsBackTheDelays)
{
    ActionList macro = macroOf({"A Down", "<20 ms>", "A UP", "<50 ms>"});
    macro.delayMs = 30;
    useAutoDelay(macro, 45);
    EXPECT_TRUE(macro.autoDelay);
    EXPECT_EQ(macro.delayMs, 45);
    EXPECT_EQ(macro.names, (Steps{"A Down", "A UP"}));
    EXPECT_EQ(macro.items.size(), 2u);
    useAutoDelay(macro, 99); // already so: nothing
    EXPECT_EQ(macro.delayMs, 45);

    macro.delayMs = 30;
    useRecordedDelays(macro);
    EXPECT_FALSE(macro.autoDelay);
    EXPECT_EQ(macro.names, (Steps{"A Down", "<30 ms>", "A UP"}));
    useRecordedDelays(macro);
    EXPECT_EQ(macro.size(), 3);

    // The positions stay within the steps that are left, and the rows stay filled.
    ActionList scrolled = macroOf({"A Down", "<1 ms>", "B Down", "<1 ms>", "C Down"});
    scrolled.pageRows = 2;
    scrolled.top = 4;
    scrolled.selected = 0;
    useAutoDelay(scrolled, 30);
    EXPECT_EQ(scrolled.top, 1);
    EXPECT_EQ(scrolled.selected, 1);
}

TEST_F(StepEditingTest, MouseStepsKeepKeysAndDelaysAlternating)
{
    // Before a key: each mouse step brings its own "<0 ms>".
    ActionList macro = macroOf({"A Down", "<20 ms>", "A UP"});
    ASSERT_TRUE(applyMenuItem(*catalogue, macro, 0, LeftClick));
    EXPECT_EQ(macro.names, (Steps{"Mouse Key Left", "<0 ms>", "Mouse Key Left", "<0 ms>", "A Down",
                                  "<20 ms>", "A UP"}));
    EXPECT_TRUE(alternates(macro));

    // Before a delay: the key before it gets "<0 ms>", its delay follows the last new step.
    macro = macroOf({"A Down", "<20 ms>", "A UP"});
    ASSERT_TRUE(applyMenuItem(*catalogue, macro, 1, RightClick));
    EXPECT_EQ(macro.names, (Steps{"A Down", "<0 ms>", "Mouse Key Right", "<0 ms>",
                                  "Mouse Key Right", "<20 ms>", "A UP"}));
    EXPECT_TRUE(alternates(macro));
    ASSERT_TRUE(applyMenuItem(*catalogue, macro, 1, WheelDown));
    ASSERT_TRUE(applyMenuItem(*catalogue, macro, 6, MiddlePress));
    EXPECT_TRUE(alternates(macro));
    EXPECT_EQ(macro.names[2], "Mouse Wheel Dn");

    // Rows count from the top; with one fixed delay there are no delays to insert.
    ActionList fixed = macroOf({"A Down", "A UP", "B Down"}, true);
    fixed.pageRows = 2;
    fixed.top = 1;
    ASSERT_TRUE(applyMenuItem(*catalogue, fixed, 1, WheelUp));
    EXPECT_EQ(fixed.names, (Steps{"A Down", "A UP", "Mouse Wheel Up", "B Down"}));
    ASSERT_TRUE(applyMenuItem(*catalogue, fixed, 0, LeftRelease));
    EXPECT_EQ(fixed.names[1], "Mouse Key Left");

    // Rows without a step and unknown items change nothing.
    EXPECT_FALSE(applyMenuItem(*catalogue, fixed, 4, LeftPress));
    EXPECT_FALSE(applyMenuItem(*catalogue, fixed, -1, LeftPress));
    EXPECT_FALSE(applyMenuItem(*catalogue, fixed, 0, 1146));
    EXPECT_EQ(fixed.size(), 5);
}

TEST_F(StepEditingTest, DeleteTakesTheStepWithItsOwnDelay)
{
    const Steps steps{"A Down", "<10 ms>", "B Down", "<20 ms>", "C Down", "<30 ms>", "D Down"};
    struct Case {
        int row;
        Steps left;
    } cases[] = {
        {2, {"A Down", "<10 ms>", "C Down", "<30 ms>", "D Down"}}, // a key and the delay after it
        {3, {"A Down", "<10 ms>", "C Down", "<30 ms>", "D Down"}}, // a delay and its key
        {6,
         {"A Down", "<10 ms>", "B Down", "<20 ms>", "C Down"}}, // the last key and the delay before
        {0, {"B Down", "<20 ms>", "C Down", "<30 ms>", "D Down"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        ActionList macro = macroOf(steps);
        // Whatever row is selected: the clicked step decides.
        macro.selected = 5;
        ASSERT_TRUE(applyMenuItem(*catalogue, macro, c.row, DeleteStep));
        EXPECT_EQ(macro.names, c.left);
        EXPECT_TRUE(alternates(macro));
        EXPECT_LT(macro.top + macro.selected, macro.size());
    }

    ActionList single = macroOf({"A Down"});
    ASSERT_TRUE(applyMenuItem(*catalogue, single, 0, DeleteStep));
    EXPECT_EQ(single.size(), 0);
    EXPECT_EQ(single.selected, 0);
    ActionList fixed = macroOf({"A Down", "B Down", "C Down"}, true);
    ASSERT_TRUE(applyMenuItem(*catalogue, fixed, 1, DeleteStep));
    EXPECT_EQ(fixed.names, (Steps{"A Down", "C Down"}));
}

TEST_F(StepEditingTest, LimitsCutFromTheEnd)
{
    Steps steps;
    for (int i = 0; i < 399; ++i) {
        steps.push_back("K" + std::to_string(i));
        steps.push_back("<1 ms>");
    }
    steps.push_back("LAST");
    ActionList macro = macroOf(steps);
    macro.top = 795;
    macro.selected = 3;
    ASSERT_EQ(macro.size(), MaxStepsWithDelays);
    ASSERT_TRUE(applyMenuItem(*catalogue, macro, 0, LeftClick));
    // In before the delay after K397: the steps beyond it go.
    EXPECT_EQ(macro.size(), MaxStepsWithDelays);
    EXPECT_EQ(macro.names[794], "K397");
    EXPECT_EQ(macro.names.back(), "Mouse Key Left");
    EXPECT_LT(macro.top + macro.selected, macro.size());
    EXPECT_TRUE(alternates(macro));

    ActionList fixed = macroOf(Steps(MaxStepsAutoDelay, "A Down"), true);
    ASSERT_TRUE(applyMenuItem(*catalogue, fixed, 0, WheelUp));
    EXPECT_EQ(fixed.size(), MaxStepsAutoDelay);
    EXPECT_EQ(fixed.names.front(), "Mouse Wheel Up");

    // A full macro with one fixed delay would double when its delays come back: the end goes,
    // and what is left still ends on a key.
    Steps keys;
    for (int i = 0; i < MaxStepsAutoDelay; ++i)
        keys.push_back("K" + std::to_string(i));
    ActionList full = macroOf(keys, true);
    full.top = 1590;
    full.delayMs = 7;
    useRecordedDelays(full);
    EXPECT_EQ(full.size(), MaxStepsWithDelays);
    EXPECT_EQ(full.names[797], "<7 ms>");
    EXPECT_EQ(full.names.back(), "K399");
    EXPECT_TRUE(alternates(full));
    EXPECT_EQ(full.top, MaxStepsWithDelays - 9);
    EXPECT_EQ(full.selected, 8);
}

TEST(StepEditing, FieldValuesAreClamped)
{
    EXPECT_EQ(clampTimes(300), 255);
    EXPECT_EQ(clampTimes(0), 1);
    EXPECT_EQ(clampTimes(-4), 1);
    EXPECT_EQ(clampAutoDelay(60001), 60000);
    EXPECT_EQ(clampAutoDelay(-1), 0);
    EXPECT_EQ(clampInterval(7000), 6000);
    EXPECT_EQ(clampInterval(-1), 0);
    EXPECT_EQ(delayOfText("120"), 120);
    EXPECT_EQ(delayOfText("70000"), 65535);
    EXPECT_EQ(delayOfText("-3"), 0);
    EXPECT_EQ(delayOfText("abc"), 0);
    EXPECT_EQ(delayOfText("12abc"), 12);
    EXPECT_EQ(delayOfText("99999999999999999999"), 65535);
}

TEST(EntryNames, NewProposesTheSmallestFreeNumber)
{
    ActionList macros(9);
    for (const char *name : {"New Macro 1", "New Macro 3", "宏定义1"})
        macros.setAt(20000, name);
    using EntryNames::ListKind;
    EXPECT_EQ(EntryNames::proposedName(macros, ListKind::Macros, false), "New Macro 2");
    EXPECT_EQ(EntryNames::proposedName(macros, ListKind::Macros, true), "宏定义2");
    EXPECT_EQ(EntryNames::proposedName(macros, ListKind::Combos, false), "New Combo 1");
    EXPECT_EQ(EntryNames::proposedName(macros, ListKind::Combos, true), "组合键1");
    EXPECT_EQ(EntryNames::proposedName(macros, ListKind::Emulations, false), "New Emu 1");
    EXPECT_EQ(EntryNames::proposedName(macros, ListKind::Emulations, true), "模拟击键1");
    ActionList full(9);
    for (int n = 1; n <= 50; ++n)
        full.setAt(20000, "New Emu " + std::to_string(n));
    EXPECT_EQ(EntryNames::proposedName(full, ListKind::Emulations, false), "New Emu 51");
}
