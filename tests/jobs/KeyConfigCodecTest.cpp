#include "jobs/KeyConfigCodec.h"
#include "model/KeyCatalogue.h"

#include <gtest/gtest.h>

#include <memory>

using Encoded = KeyConfigCodec::Encoded;

namespace {

class KeyConfigCodecTest : public ::testing::Test {
protected:
    std::unique_ptr<KeyCatalogue> catalogue = std::make_unique<KeyCatalogue>();

    std::vector<int> encoded(const KeyAssignment &assignment, Encoded expected = Encoded::Set)
    {
        std::vector<int> array;
        EXPECT_EQ(KeyConfigCodec::encode(*catalogue, assignment, array), expected);
        return array;
    }
    KeyAssignment decoded(std::vector<int> array, const KeyAssignment &current = {})
    {
        return KeyConfigCodec::decode(*catalogue, array.data(), int(array.size()), current);
    }
};

KeyAssignment single(int category, int code)
{
    KeyAssignment assignment;
    assignment.category = category;
    assignment.code = code;
    return assignment;
}

KeyAssignment withSteps(int category, std::vector<std::string> steps)
{
    KeyAssignment assignment;
    assignment.category = category;
    assignment.action.names = steps;
    assignment.action.items.resize(steps.size());
    return assignment;
}

} // namespace

TEST_F(KeyConfigCodecTest, SingleCodesAndTheirCategoriesOnReading)
{
    EXPECT_EQ(encoded(single(1, 43)), (std::vector<int>{0, 1, 43}));
    EXPECT_EQ(encoded(single(8, 77)), (std::vector<int>{0, 1, 77}));
    EXPECT_EQ(encoded(single(1, 199)), (std::vector<int>{0, 2, 130, 130}));
    EXPECT_TRUE(encoded(single(0, 43), Encoded::Empty).empty());
    encoded(single(-2, 43), Encoded::Empty);
    encoded(single(1, 256), Encoded::Invalid);
    encoded(single(6, -1), Encoded::Invalid);

    const std::pair<int, int> categories[]
        = {{43, 1},  {76, 8},  {108, 5}, {130, 6}, {135, 7}, {157, 6},
           {158, 6}, {173, 6}, {198, 7}, {200, 1}, {204, 1}, {0, 1}};
    for (const auto &[code, category] : categories) {
        const KeyAssignment read = decoded({0, 1, code});
        EXPECT_EQ(read.category, category) << code;
        EXPECT_EQ(read.code, code);
    }
    const KeyAssignment doubleClick = decoded({0, 2, 130, 130});
    EXPECT_EQ(doubleClick.category, 6);
    EXPECT_EQ(doubleClick.code, 199);
}

TEST_F(KeyConfigCodecTest, CombinationsAndEmulations)
{
    KeyAssignment combo = withSteps(2, {"LCTRL", "LALT", "DEL", "no such key"});
    combo.code = 12; // not part of a combination
    EXPECT_EQ(encoded(combo), (std::vector<int>{0, 4, 67, 69, 84, 0}));

    KeyAssignment read = decoded({0, 3, 67, 69, 84}, single(1, 12));
    EXPECT_EQ(read.category, 2);
    EXPECT_EQ(read.code, 12); // only single codes change the code
    EXPECT_EQ(read.action.names, (std::vector<std::string>{"LCTRL", "LALT", "DEL"}));
    EXPECT_EQ(read.action.items.size(), 3u);
    EXPECT_EQ(read.action.pageRows, 6);
    EXPECT_EQ(read.action.top, 0);
    EXPECT_EQ(read.action.selected, 2);

    KeyAssignment emulation = withSteps(4, {"A", "B"});
    emulation.action.delayMs = 6000;
    EXPECT_EQ(encoded(emulation), (std::vector<int>{1, 6000, 2, 43, 60}));
    read = decoded({1, 6000, 2, 43, 60});
    EXPECT_EQ(read.category, 4);
    EXPECT_EQ(read.action.names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(read.action.delayMs, 6000);
    EXPECT_EQ(read.action.pageRows, 9);

    // An empty combination leaves the key empty; an empty emulation stays a continuous record
    // and reads back as not set. Actions no record can hold are refused.
    encoded(withSteps(2, {}), Encoded::Empty);
    KeyAssignment idle = withSteps(4, {});
    idle.action.delayMs = 70000; // kept in 16 bits
    EXPECT_EQ(encoded(idle), (std::vector<int>{1, 65535, 0}));
    EXPECT_EQ(decoded({1, 65535, 0}, single(1, 12)).category, 0);
    encoded(withSteps(2, std::vector<std::string>(58, "A")));
    encoded(withSteps(2, std::vector<std::string>(59, "A")), Encoded::Invalid);
    encoded(withSteps(4, std::vector<std::string>(56, "A")));
    encoded(withSteps(4, std::vector<std::string>(57, "A")), Encoded::Invalid);
    // A delay text is no key code: the keyboard would take its number for one.
    EXPECT_TRUE(encoded(withSteps(2, {"<300 ms>"}), Encoded::Misread).empty());
}

TEST_F(KeyConfigCodecTest, MacrosWithRecordedDelays)
{
    KeyAssignment macro = withSteps(3, {"A Down", "<30 ms>", "A UP"});
    const std::vector<int> array = encoded(macro);
    EXPECT_EQ(array, (std::vector<int>{2, 0, 1, 1, 0, 2, 43, 30, 43, 0}));

    const KeyAssignment read = decoded(array);
    EXPECT_EQ(read.category, 3);
    EXPECT_EQ(read.action.names, (std::vector<std::string>{"A", "<30 ms>", "A"}));
    EXPECT_FALSE(read.action.autoDelay);
    EXPECT_EQ(read.action.times, 1);
    EXPECT_EQ(read.action.playMode, 0);

    // An even count: the last key's delay is sent but never read back.
    macro = withSteps(3, {"B Down", "<7 ms>", "B UP", "<50 ms>"});
    macro.action.times = 300;
    EXPECT_EQ(encoded(macro), (std::vector<int>{2, 0, 255, 1, 0, 2, 60, 7, 60, 50}));
    EXPECT_EQ(decoded({2, 0, 255, 1, 0, 2, 60, 7, 60, 50}).action.names,
              (std::vector<std::string>{"B", "<7 ms>", "B"}));

    // Delays are kept in 16 bits.
    macro = withSteps(3, {"A Down", "<70000 ms>", "A UP", "<-4 ms>", "B Down"});
    EXPECT_EQ(encoded(macro), (std::vector<int>{2, 0, 1, 1, 0, 3, 43, 65535, 43, 0, 60, 0}));
}

TEST_F(KeyConfigCodecTest, MacrosWithAutoDelayAndPlayModes)
{
    KeyAssignment macro = withSteps(3, {"A Down", "Mouse Key Left", "A UP"});
    macro.action.autoDelay = true;
    macro.action.delayMs = 40;
    macro.action.times = 3;
    EXPECT_EQ(encoded(macro), (std::vector<int>{2, 0, 3, 0, 40, 3, 43, 130, 43}));
    KeyAssignment read = decoded({2, 0, 3, 0, 40, 3, 43, 130, 43});
    EXPECT_TRUE(read.action.autoDelay);
    EXPECT_EQ(read.action.delayMs, 40);
    EXPECT_EQ(read.action.times, 3);
    EXPECT_EQ(read.action.names, (std::vector<std::string>{"A", "Mouse Key Left", "A"}));

    // Only times-play sends its count; the others read back with the editor's least count.
    macro.action.playMode = 2;
    EXPECT_EQ(encoded(macro), (std::vector<int>{2, 2, 0, 0, 40, 3, 43, 130, 43}));
    read = decoded({2, 2, 0, 0, 40, 3, 43, 130, 43});
    EXPECT_EQ(read.action.playMode, 2);
    EXPECT_EQ(read.action.times, 1);
    macro.action.playMode = 9; // not a play mode: played as times-play
    EXPECT_EQ(encoded(macro)[1], 0);

    // The largest macros a record takes.
    const auto recorded = [](std::size_t entries) {
        std::vector<std::string> steps;
        for (std::size_t i = 0; i < entries; ++i)
            steps.insert(steps.end(), {"A Down", "<1 ms>"});
        return steps;
    };
    encoded(withSteps(3, recorded(16383)));
    encoded(withSteps(3, recorded(16384)), Encoded::Invalid);
    macro = withSteps(3, std::vector<std::string>(65535, "A Down"));
    macro.action.autoDelay = true;
    encoded(macro);
    macro.action.names.push_back("A UP");
    encoded(macro, Encoded::Invalid);
}

TEST_F(KeyConfigCodecTest, DamagedArraysReadAsNotSet)
{
    KeyAssignment current = withSteps(3, {"A Down"});
    current.code = 5;
    const std::vector<std::vector<int>> damaged = {
        {},
        {0},
        {0, 0},
        {0, -1, 4},
        {0, 5, 1, 2},
        {1, 30},
        {1, 30, 0},
        {1, 30, 3, 4, 5},
        {2, 0, 1, 0, 30},
        {2, 0, 1, 0, 30, 0},
        {2, 0, 1, 1, 0, 2, 4, 9},
        {2, 0, 1, 0, 0, 3, 4},
        {2, 3, 1, 0, 0, 1, 4},
        {3, 1, 4},
        {-1, 1, 4},
    };
    for (const std::vector<int> &array : damaged) {
        const KeyAssignment read = decoded(array, current);
        EXPECT_EQ(read.category, 0) << ::testing::PrintToString(array);
        EXPECT_EQ(read.code, 5);
    }
    // With delays, the last entry's delay need not be there.
    EXPECT_EQ(decoded({2, 0, 1, 1, 0, 2, 4, 9, 5}).action.names.size(), 3u);
}

// What the keyboard gets other than the assignment says is named; a step it would take for
// something else is refused, whichever kind of action holds it.
TEST_F(KeyConfigCodecTest, ChangedValuesAreNamedAndMisreadStepsRefused)
{
    const auto checked = [&](const KeyAssignment &assignment, Encoded expected) {
        std::vector<int> array;
        KeyConfigCodec::Check check;
        EXPECT_EQ(KeyConfigCodec::encode(*catalogue, assignment, array, &check), expected);
        return check;
    };
    using Adjustments = std::vector<std::pair<std::string, std::string>>;
    const auto adjustments = [](const KeyConfigCodec::Check &check) {
        Adjustments found;
        for (const auto &a : check.adjustments)
            found.emplace_back(a.field + " " + a.from, a.to);
        return found;
    };

    KeyAssignment macro = withSteps(3, {"A Down", "Foo", "A UP", "<70000 ms>", "B Down"});
    macro.action.times = 300;
    macro.action.playMode = 0;
    EXPECT_EQ(adjustments(checked(macro, Encoded::Set)),
              (Adjustments{{"Cycles 300", "255"},
                           {"step 2 Foo", "0 ms (no delay)"},
                           {"step 4 <70000 ms>", "<65535 ms>"}}));
    macro.action.autoDelay = true;
    macro.action.names = std::vector<std::string>{"A Down", "Foo", "A UP"};
    macro.action.playMode = -2;
    EXPECT_EQ(
        adjustments(checked(macro, Encoded::Set)),
        (Adjustments{{"PlayMode -2", "0"}, {"Cycles 300", "255"}, {"step 2 Foo", "0 (no key)"}}));
    EXPECT_EQ(adjustments(checked(withSteps(2, std::vector<std::string>(7, "A")), Encoded::Set)),
              (Adjustments{{"keys 7", ""}}));
    EXPECT_TRUE(
        checked(withSteps(2, std::vector<std::string>(6, "A")), Encoded::Set).adjustments.empty());

    macro.action.playMode = 0;
    macro.action.times = 1;
    macro.action.names = std::vector<std::string>{"A Down", "<1 ms>", "A UP"};
    KeyConfigCodec::Check check = checked(macro, Encoded::Misread);
    EXPECT_EQ(check.step, 2);
    EXPECT_TRUE(check.delayAsKey);
    EXPECT_EQ(check.readAs, 1);
    EXPECT_EQ(check.readAsName, "ESC");

    macro.action.autoDelay = false;
    macro.action.names = std::vector<std::string>{"A Down", "B Down", "A UP"};
    check = checked(macro, Encoded::Misread);
    EXPECT_EQ(check.step, 2);
    EXPECT_FALSE(check.delayAsKey);
    EXPECT_EQ(check.readAs, 60);
    macro.action.names = std::vector<std::string>{"<5 ms>", "<5 ms>", "A UP"};
    EXPECT_EQ(checked(macro, Encoded::Misread).step, 1);
    EXPECT_EQ(checked(withSteps(4, {"A", "<6 ms>"}), Encoded::Misread).step, 2);
}
