#include "model/AppState.h"
#include "model/AssignmentSummary.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<AppState> stateOf(int deviceType)
{
    auto state = std::make_unique<AppState>();
    state->buildCatalogue();
    state->deviceType = deviceType;
    state->resetKeyModel();
    return state;
}

ActionList steps(std::vector<std::string> names)
{
    ActionList list;
    for (const std::string &name : names)
        list.setAt(20000, name);
    return list;
}

} // namespace

TEST(KeyModel, StartsEmptyWithCountersNotRead)
{
    auto state = std::make_unique<AppState>();
    EXPECT_EQ(state->language, "");
    EXPECT_EQ(state->predefinedCombos.pageRows, 6);
    EXPECT_EQ(state->predefinedMacros.pageRows, 9);
    for (int key = 1; key <= AppState::KeyCount; ++key)
        EXPECT_LT(state->pressCounters.counts[std::size_t(key)], 0);
    EXPECT_EQ(state->pressCounters.counts[1], -926365496);
    EXPECT_EQ(state->pressCounters.highestKey, -1);
    EXPECT_EQ(state->pressCounters.lowestKey, -1);

    state->buildCatalogue();
    EXPECT_EQ(state->language, "zh-CN");
    EXPECT_TRUE(state->chinese());
}

TEST(KeyModel, ResetGivesTheVariantsDefaultsAndKeepsCountersAndLayer)
{
    auto state = stateOf(1);
    state->predefinedMacros.setAt(20000, "mine");
    state->predefinedMacros.times = 9;
    state->predefinedCombos.setAt(20000, "mine");
    state->lightSettings[5] = {1, 2, 3};
    state->action[AppState::index(5, 0)] = steps({"A", "B"});
    state->action[AppState::index(5, 0)].pageRows = 6;
    state->pressCounters.counts[4] = 12;
    state->pressCounters.highestKey = 4;
    state->currentLayer = 1;
    state->notWritten = true;

    state->deviceType = 3;
    state->resetKeyModel();
    EXPECT_EQ(state->predefinedMacros.size(), 0);
    EXPECT_EQ(state->predefinedMacros.times, 1);
    EXPECT_EQ(state->predefinedMacros.pageRows, 9);
    EXPECT_EQ(state->predefinedCombos.size(), 0);
    EXPECT_EQ(state->predefinedCombos.pageRows, 6);
    EXPECT_EQ(state->lightSettings[5], LightColour{});
    EXPECT_TRUE(state->action[AppState::index(5, 0)].names.empty());
    EXPECT_EQ(state->action[AppState::index(5, 0)].pageRows, 6);
    EXPECT_EQ(state->pressCounters.counts[4], 12);
    EXPECT_EQ(state->pressCounters.highestKey, 4);
    EXPECT_EQ(state->currentLayer, 1);
    EXPECT_TRUE(state->notWritten);

    // Quillo(S): no wireless or lighting functions on the Fn layer; FN on both layers of 72.
    for (int key : {1, 11, 14, 15, 16, 17, 18, 25, 26, 78, 81, 82, 83, 85, 87}) {
        EXPECT_EQ(state->category[AppState::index(key, 1)], 0) << key;
        EXPECT_EQ(state->code[AppState::index(key, 1)], 0) << key;
    }
    for (int layer : {0, 1}) {
        EXPECT_EQ(state->category[AppState::index(72, layer)], 7);
        EXPECT_EQ(state->code[AppState::index(72, layer)], 156);
    }
    EXPECT_EQ(state->category[AppState::index(88, 0)], 5);  // Mute
    EXPECT_EQ(state->category[AppState::index(10, 1)], 7);  // Adjust Trigger Point
    EXPECT_EQ(state->category[AppState::index(108, 0)], 1); // keypad Enter

    // Keys outside the keyboard are neither read nor stored.
    state->setAssignment(109, 0, {1, 5, {}});
    state->setAssignment(0, 0, {1, 5, {}});
    state->setAssignment(3, 2, {1, 5, {}});
    EXPECT_EQ(state->code[0], 0);
    EXPECT_EQ(state->assignment(0, 1).category, 0);
}

TEST(KeyModel, SummariesByCategory)
{
    auto state = stateOf(1);
    EXPECT_EQ(assignmentSummary(*state, 1, 0), "ESC");
    EXPECT_EQ(assignmentSummary(*state, 88, 1), "Play/Pause");
    EXPECT_EQ(assignmentSummary(*state, 2, 1), ""); // nothing on the Fn layer

    state->setAssignment(3, 0, {8, 77, {}});
    EXPECT_EQ(assignmentSummary(*state, 3, 0), "Power");
    state->setAssignment(3, 0, {1, 177, {}});
    EXPECT_EQ(assignmentSummary(*state, 3, 0), "-- --");
    state->setAssignment(3, 0, {2, 0, steps({"LCTRL", "LALT", "DEL"})});
    EXPECT_EQ(assignmentSummary(*state, 3, 0), "LCTRL | LALT | DEL");
    state->setAssignment(3, 0, {4, 0, steps({"A"})});
    EXPECT_EQ(assignmentSummary(*state, 3, 0), "A");
    state->setAssignment(3, 0,
                         {3, 0, steps({"A Down", "<30 ms>", "Mouse Key Left", "(Enter) UP"})});
    EXPECT_EQ(assignmentSummary(*state, 3, 0), "A,30,Mouse Key Left,(Enter)");
    state->setAssignment(3, 0, {9, 5, {}});
    EXPECT_EQ(assignmentSummary(*state, 3, 0), "");
    EXPECT_EQ(assignmentSummary(*state, 0, 0), "");
    EXPECT_EQ(assignmentSummary(*state, 109, 0), "");
}

TEST(KeyModel, LongMacroSummariesAreCut)
{
    auto state = stateOf(1);
    std::vector<std::string> macro;
    for (int i = 0; i < 200; ++i) {
        macro.push_back(std::string(1, char('A' + i % 26)) + (i % 2 ? " UP" : " Down"));
        macro.push_back("<5 ms>");
    }
    state->setAssignment(4, 0, {3, 0, steps(macro)});
    const std::string summary = assignmentSummary(*state, 4, 0);
    EXPECT_EQ(summary.rfind("A,5,B,5,C,5,", 0), 0u);
    ASSERT_TRUE(summary.ends_with(" ... ..."));
    const std::size_t shown = summary.size() - 8;
    EXPECT_GT(shown, 120u);
    EXPECT_LE(shown, 122u);

    // Exactly at the limit nothing is cut; characters, not bytes, are counted.
    state->setAssignment(4, 0, {3, 0, steps({std::string(120, 'x'), "A Down"})});
    EXPECT_EQ(assignmentSummary(*state, 4, 0), std::string(120, 'x') + ",A");
    std::string wide;
    for (int i = 0; i < 59; ++i)
        wide += "键";
    state->setAssignment(4, 0, {3, 0, steps({wide, wide, "A Down"})});
    EXPECT_EQ(assignmentSummary(*state, 4, 0), wide + "," + wide + ",A");
    state->setAssignment(4, 0, {3, 0, steps({wide + wide + "xyz", "A Down"})});
    EXPECT_EQ(assignmentSummary(*state, 4, 0), wide + wide + "xyz ... ...");
}

TEST(KeyModel, PressCounterExtremes)
{
    PressCounters counters;
    counters.updateExtremes(); // nothing read yet
    EXPECT_EQ(counters.highestKey, -1);
    EXPECT_EQ(counters.lowestKey, -1);

    counters.counts.fill(0);
    counters.counts[1] = 3;
    counters.counts[9] = 3;
    counters.counts[20] = 1;
    counters.counts[21] = 1;
    counters.counts[30] = 8;
    counters.updateExtremes();
    EXPECT_EQ(counters.highestKey, 30);
    EXPECT_EQ(counters.lowestKey, 20);
}
