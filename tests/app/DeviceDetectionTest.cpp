#include "app/DeviceDetection.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A keyboard that appears after `absentCalls` calls; records the sleeps.
struct Scenario {
    explicit Scenario(int absent)
        : absentCalls(absent)
    {}

    int absentCalls;
    int variant = 3;
    int calls = 0;
    std::vector<int> sleeps;

    int run()
    {
        return DeviceDetection::detectWithRetries(
            [this] { return calls++ < absentCalls ? 0 : variant; },
            [this](int ms) { sleeps.push_back(ms); });
    }
};

} // namespace

TEST(DeviceDetection, RetriesOnceASecondWhileNothingIsFound)
{
    Scenario present(0);
    EXPECT_EQ(present.run(), 3);
    EXPECT_EQ(present.calls, 1);
    EXPECT_TRUE(present.sleeps.empty());

    // Plugged in after the third retry: found about three seconds later, no sleep after it.
    Scenario late(4);
    EXPECT_EQ(late.run(), 3);
    EXPECT_EQ(late.calls, 5);
    EXPECT_EQ(late.sleeps, std::vector<int>(4, 1000));

    Scenario lastChance(11);
    EXPECT_EQ(lastChance.run(), 3);
    EXPECT_EQ(lastChance.calls, 12);

    Scenario absent(1000);
    EXPECT_EQ(absent.run(), 0);
    EXPECT_EQ(absent.calls, 12);
    EXPECT_EQ(absent.sleeps.size(), 11u);
}
