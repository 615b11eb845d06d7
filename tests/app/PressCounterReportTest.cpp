#include "app/PressCounterReport.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"

#include <gtest/gtest.h>

namespace {

struct ReportFixture : ::testing::Test {
    ReportFixture()
    {
        state.deviceType = 4;
        state.buildCatalogue();
        state.resetKeyModel();
    }
    AppState state;
};

} // namespace

TEST_F(ReportFixture, HeadShowsFiveSpacesBeforeCountersAreRead)
{
    EXPECT_EQ(PressCounterReport::head(state),
              "Quillo(RGB) 编程软件 [版本 1.1.3]\r\n\r\n高频键：      低频键：     \r\n敲击次数：");
    state.language = "en-US";
    EXPECT_EQ(PressCounterReport::head(state),
              "Quillo(RGB) Programming Software [Ver 1.1.3]\r\n\r\nHighest:       Lowest:      "
              "\r\n\r\nCounter: ");
    state.language = "fr-FR";
    EXPECT_EQ(PressCounterReport::head(state), "");
    EXPECT_EQ(PressCounterReport::text(state, 0), "");
}

TEST_F(ReportFixture, HeadNamesTheHighestAndLowestKeysByTheirCaptions)
{
    state.pressCounters.highestKey = 1;
    state.pressCounters.lowestKey = 70;
    state.language = "en-US";
    EXPECT_EQ(PressCounterReport::head(state),
              "Quillo(RGB) Programming Software [Ver 1.1.3]\r\n\r\nHighest: Esc  Lowest: Space "
              "\r\n\r\nCounter: ");

    state.deviceType = 2;
    state.language = "zh-CN";
    state.pressCounters.highestKey = 109; // out of range, as a damaged counter read could give
    state.pressCounters.lowestKey = 72;
    EXPECT_EQ(PressCounterReport::head(state),
              "Quillo(S)BLe 编程软件 [版本 1.1.3]\r\n\r\n高频键：      低频键：Fn \r\n敲击次数：");

    state.deviceType = 0;
    EXPECT_EQ(PressCounterReport::head(state).rfind("Quillo(RGB)BLe 编程软件", 0), 0u);
}

TEST_F(ReportFixture, KeyPartShowsTheCountOnlyOnceReadAndBothLayers)
{
    const int key = 11; // F10: a single key on the top layer, backlight switch on the Fn layer
    state.language = "en-US";
    const std::string layers = "\r\n\r\nTop layer Key: Single " + assignmentSummary(state, key, 0)
                               + "\r\n\r\nFn layer Key: Function "
                               + assignmentSummary(state, key, 1) + "\r\n";
    EXPECT_EQ(PressCounterReport::keyPart(state, key), layers);

    state.pressCounters.counts[key] = 0;
    EXPECT_EQ(PressCounterReport::keyPart(state, key), "0" + layers);
    state.pressCounters.counts[key] = 12345;
    EXPECT_EQ(PressCounterReport::text(state, key),
              PressCounterReport::head(state) + "12345" + layers);
    state.pressCounters.counts[key] = -1;
    EXPECT_EQ(PressCounterReport::keyPart(state, key), layers);

    state.language = "zh-CN";
    state.category[AppState::index(key, 0)] = 0;
    state.code[AppState::index(key, 0)] = 0;
    EXPECT_EQ(PressCounterReport::keyPart(state, key),
              "\r\n\r\n顶层键：未设置 \r\n\r\nFN组合键：操控键 " + assignmentSummary(state, key, 1)
                  + "\r\n");

    // Nothing for keys outside the keyboard or categories outside the known ones.
    EXPECT_EQ(PressCounterReport::keyPart(state, 0), "");
    EXPECT_EQ(PressCounterReport::keyPart(state, 109), "");
    state.category[AppState::index(key, 0)] = 42;
    EXPECT_NE(PressCounterReport::keyPart(state, key).find("顶层键： "), std::string::npos);
}
