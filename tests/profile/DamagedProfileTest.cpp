#include "profile/MarkupDocument.h"
#include "profile/ProfileFile.h"

#include "model/AppState.h"
#include "profile/TextCodec.h"
#include "tests/support/BrokenProfiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<AppState> sampleState()
{
    auto state = std::make_unique<AppState>();
    state->deviceType = 4;
    state->resetKeyModel();
    state->predefinedCombos.append("Copy");
    state->predefinedMacros.append("Hello");
    state->predefinedEmulations.append("Fire");
    state->lightSettings[7] = {255, 128, 1};
    state->lightSettings[108] = {1, 2, 3};
    for (int key : {3, 59, 60, 100}) {
        const auto i = std::size_t(AppState::index(key, 1));
        state->category[i] = 1;
        state->code[i] = 9;
    }
    ActionList macro(9);
    macro.append("A Down");
    macro.append("<30 ms>");
    macro.append("A UP");
    state->category[std::size_t(AppState::index(5, 0))] = 3;
    state->action[std::size_t(AppState::index(5, 0))] = macro;
    return state;
}

std::unique_ptr<AppState> resetState(int variant)
{
    auto state = std::make_unique<AppState>();
    state->deviceType = variant;
    state->resetKeyModel();
    return state;
}

// The whole stored configuration, as the writer puts it.
std::u16string profileOf(const AppState &state)
{
    MarkupDocument doc;
    buildProfile(state, state.deviceType, doc);
    return doc.doc();
}

ProfileReadResult readText(AppState &state, const std::string &text, DamagedProfile damaged,
                           MarkupError &error)
{
    MarkupDocument doc;
    doc.loadBytes(text);
    return readProfileDocument(state, state.pressCounters, state.deviceType, doc, damaged, &error);
}

// What a lenient read of a profile that lacks the keys from `firstLost` on must give: the
// sample for the keys before, the factory defaults after.
std::unique_ptr<AppState> expectedRead(const AppState &sample, int firstLost)
{
    auto expected = resetState(sample.deviceType);
    expected->predefinedCombos = sample.predefinedCombos;
    expected->predefinedMacros = sample.predefinedMacros;
    expected->predefinedEmulations = sample.predefinedEmulations;
    expected->lightSettings = sample.lightSettings;
    for (int key = 1; key < firstLost; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const auto i = std::size_t(AppState::index(key, layer));
            expected->category[i] = sample.category[i];
            expected->code[i] = sample.code[i];
            expected->action[i] = sample.action[i];
        }
    }
    return expected;
}

} // namespace

TEST(DamagedProfile, IsRefusedWithWhereAndWhatOrReadAsFarAsItGoes)
{
    const auto sample = sampleState();
    const std::string good = TextCodec::toUtf8(profileOf(*sample));
    for (const BrokenProfile &broken : brokenProfiles(good)) {
        SCOPED_TRACE(broken.kind);
        // Refused: nothing changes, and the first problem is named.
        auto state = resetState(4);
        state->pressCounters.counts[1] = 5;
        const std::u16string before = profileOf(*state);
        MarkupError error;
        EXPECT_EQ(readText(*state, broken.text, DamagedProfile::Refuse, error),
                  ProfileReadResult::Damaged);
        EXPECT_EQ(profileOf(*state), before);
        EXPECT_EQ(state->pressCounters.counts[1], 5);
        EXPECT_EQ(error.problem, broken.problem);
        EXPECT_EQ(error.line, broken.line);
        EXPECT_EQ(TextCodec::toUtf8(error.tagName), broken.tagName);

        // Read on request: everything the file still holds, defaults for the rest.
        EXPECT_EQ(readText(*state, broken.text, DamagedProfile::ReadWhatCan, error),
                  ProfileReadResult::Ok);
        EXPECT_EQ(error.problem, broken.problem);
        EXPECT_EQ(profileOf(*state), profileOf(*expectedRead(*sample, broken.firstLostKey)));
        EXPECT_EQ(state->pressCounters.counts[1], PressCounters::NotRead);
    }

    // Another keyboard's profile stays refused as such, damaged or not; good files say nothing.
    auto other = resetState(2);
    MarkupError error;
    error.problem = MarkupProblem::LoneEndTag;
    EXPECT_EQ(readText(*other, brokenProfiles(good)[0].text, DamagedProfile::ReadWhatCan, error),
              ProfileReadResult::OtherVariant);
    EXPECT_FALSE(error);
    auto state = resetState(4);
    error.problem = MarkupProblem::LoneEndTag;
    EXPECT_EQ(readText(*state, good, DamagedProfile::Refuse, error), ProfileReadResult::Ok);
    EXPECT_FALSE(error);
    EXPECT_EQ(profileOf(*state), profileOf(*sample));
}

TEST(DamagedProfile, TextsNameTheLineAndTheProblemInBothLanguages)
{
    MarkupError error;
    error.problem = MarkupProblem::LoneEndTag;
    error.line = 12;
    error.tagName = u"PredefinedMacro";
    EXPECT_EQ(profileDamagedQuestion(error, false),
              "This profile is damaged (line 12: an end tag </PredefinedMacro> without a start "
              "tag). Open what can be read? Keys the file does not describe get their defaults.");
    EXPECT_EQ(profileDamagedQuestion(error, true),
              "该配置文件已损坏（第 12 行：结束标记 </PredefinedMacro> 没有对应的开始标记）。"
              "是否打开其中可以读取的部分？文件中没有描述的按键将使用默认设置。");
    EXPECT_EQ(profileDamageText(error, false),
              "line 12: an end tag </PredefinedMacro> without a start tag");

    // Every problem has words in both languages; an unknown one leaves the place out.
    for (int p = int(MarkupProblem::NoRootElement); p <= int(MarkupProblem::TooManyElements); ++p) {
        error.problem = MarkupProblem(p);
        EXPECT_NE(profileDamageText(error, false), "") << p;
        EXPECT_NE(profileDamageText(error, true), "") << p;
        EXPECT_STRNE(markupEventName(error.problem), "") << p;
    }
    EXPECT_EQ(profileDamagedMessage(MarkupError(), false), "This profile is damaged.");
    EXPECT_EQ(profileReadDamagedNote(MarkupError(), false),
              "This profile is damaged. What could be read was read; keys the file does not "
              "describe have their defaults.");
}
