#include "StateInput.h"
#include "keymap/KeySettingsModel.h"
#include "model/AppState.h"
#include "model/StepEditing.h"
#include "model/StepText.h"

#include <gtest/gtest.h>

#include <memory>

using Recording = KeySettingsModel::Recording;
using Steps = std::vector<std::string>;

namespace {

constexpr std::uintptr_t Release = 0x80000000u;
constexpr std::uintptr_t System = 0x40000000u;
constexpr std::intptr_t Extended = 0x01000000;

// A state with one entry in each list, opened on the key's page, and a keyboard that types
// into the model at times the test gives.
struct Recorder {
    explicit Recorder(int category = 0)
        : state(std::make_unique<AppState>())
    {
        state->buildCatalogue();
        state->deviceType = 4;
        state->resetKeyModel();
        state->currentKey = 5;
        for (ActionList *list :
             {&state->predefinedCombos, &state->predefinedMacros, &state->predefinedEmulations}) {
            list->setAt(20000, "first");
            list->items.editBack().setAt(20000, "OLD");
        }
        state->setAssignment(5, 0, {category, 0, {}});
        model = std::make_unique<KeySettingsModel>(keySettingsInput(*state));
    }

    void key(std::uintptr_t wParam, std::uint32_t at, std::intptr_t lParam = 0)
    {
        model->hookMessage(wParam, lParam, at);
    }
    void tap(int vk, std::uint32_t down, std::uint32_t up)
    {
        key(std::uintptr_t(vk), down);
        key(Release | std::uintptr_t(vk), up);
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<KeySettingsModel> model;
};

} // namespace

TEST(KeyRecorder, MacroStepsAndTheirDelaysComeFromTheKeystrokesTimes)
{
    Recorder r;
    ActionList &macro = r.model->macros().current();
    macro.times = 7;
    macro.playMode = 1;
    macro.delayMs = 80;
    ASSERT_TRUE(r.model->startRecording(Recording::Macro));
    EXPECT_TRUE(macro.names.empty()); // the old steps go, the settings stay

    // A release of a key held before the start is no step, and the first step has no delay.
    r.key(Release | 0x0D, 1000);
    r.key(0x41, 1500);
    // Held: the repeats are dropped, and the delay before the release is the whole hold.
    for (std::uint32_t t = 2000; t < 2600; t += 33)
        r.key(0x41, t);
    r.key(Release | 0x41, 2700);
    // Right Ctrl and the keypad Enter keep their own names; a long pause is capped.
    r.key(0xA3, 2710, Extended);
    r.key(System | 0x0D, 70000, Extended);
    r.key(Release | System | 0x0D, 70020, Extended);
    r.key(Release | 0xA3, 70030, Extended);
    r.model->stopRecording();

    EXPECT_EQ(macro.names,
              (Steps{"A Down", "<1200 ms>", "A UP", "<10 ms>", "RCTRL Down", "<65535 ms>",
                     "(Enter) Down", "<20 ms>", "(Enter) UP", "<10 ms>", "RCTRL UP", "<50 ms>"}));
    EXPECT_EQ(macro.times, 7);
    EXPECT_EQ(macro.playMode, 1);
    EXPECT_EQ(macro.delayMs, 80);
    EXPECT_EQ(r.model->recording(), Recording::None);
    // The recording went back into the list at the selection.
    EXPECT_EQ(r.model->macros().list().items[0].names, macro.names);

    // With one fixed delay only the keys are recorded, and no final delay is added; a recording
    // with no keystroke stays empty.
    macro.autoDelay = true;
    ASSERT_TRUE(r.model->startRecording(Recording::Macro));
    r.tap(0x42, 10, 20);
    r.model->stopRecording();
    EXPECT_EQ(macro.names, (Steps{"B Down", "B UP"}));
    macro.autoDelay = false;
    ASSERT_TRUE(r.model->startRecording(Recording::Macro));
    r.model->stopRecording();
    EXPECT_TRUE(macro.names.empty());

    // Without times in the messages the delays are measured as they are handled.
    ASSERT_TRUE(r.model->startRecording(Recording::Macro));
    r.model->hookMessage(0x43, 0, std::nullopt);
    r.model->hookMessage(Release | 0x43, 0, std::nullopt);
    r.model->stopRecording();
    ASSERT_EQ(macro.size(), 4);
    EXPECT_EQ(macro.names[0], "C Down");
    EXPECT_LT(StepText::stepValue(r.state->catalogue, macro.names[1]), 1000);
}

TEST(KeyRecorder, MacrosStopAtTheirLimits)
{
    Recorder r;
    ActionList &macro = r.model->macros().current();
    ASSERT_TRUE(r.model->startRecording(Recording::Macro));
    for (std::uint32_t i = 0; i < 500; ++i)
        r.tap(0x41, i * 10, i * 10 + 5);
    r.model->stopRecording();
    // 400 key events and the delays between them: no room for the final delay.
    EXPECT_EQ(macro.size(), StepEditing::MaxStepsWithDelays);
    EXPECT_EQ(macro.names.back(), "A UP");

    macro.autoDelay = true;
    ASSERT_TRUE(r.model->startRecording(Recording::Macro));
    for (std::uint32_t i = 0; i < 900; ++i)
        r.tap(0x41, i * 10, i * 10 + 5);
    r.model->stopRecording();
    EXPECT_EQ(macro.size(), StepEditing::MaxStepsAutoDelay);
}

TEST(KeyRecorder, CombinationsAndEmulationsTakeUpToSixKeys)
{
    Recorder r(2);
    ASSERT_FALSE(r.model->singleMode());
    ActionList &combination = r.model->combos().current();
    ASSERT_TRUE(r.model->startRecording(Recording::Combination));
    // Held keys and a key pressed again add nothing; the seventh key is ignored.
    r.key(0xA2, 0);
    r.key(0xA2, 30);
    r.key(0xA4, 40);
    r.key(0x41, 50);
    r.key(Release | 0x41, 60);
    r.key(0x41, 70);
    for (int vk : {0x42, 0x43, 0x44, 0x45, 0x46})
        r.key(std::uintptr_t(vk), 80);
    r.model->stopRecording();
    EXPECT_EQ(combination.names, (Steps{"LCTRL", "LALT", "A", "B", "C", "D"}));
    const WorkingList &combos = r.model->combos();
    EXPECT_EQ(combos.list().items[std::size_t(combos.selectedIndex())].names, combination.names);

    // An emulation records presses only, each press of a key once however long it is held.
    Recorder e(4);
    ActionList &emulation = e.model->emulations().current();
    ASSERT_TRUE(e.model->startRecording(Recording::Emulation));
    e.key(0x41, 0);
    e.key(0x41, 500); // repeat
    e.key(Release | 0x41, 600);
    e.tap(0x41, 700, 800);
    e.tap(0xA1, 900, 950);
    e.key(Release | 0x42, 990); // never pressed
    for (int vk : {0x31, 0x32, 0x33, 0x34})
        e.tap(vk, 1000, 1001);
    e.model->stopRecording();
    EXPECT_EQ(emulation.names, (Steps{"A", "A", "RSHIFT", "1", "2", "3"}));
}

TEST(KeyRecorder, TheSingleKeyCaptureAndWhatCannotStart)
{
    Recorder r;
    ASSERT_TRUE(r.model->startRecording(Recording::SingleKey));
    r.tap(0x41, 0, 10);
    EXPECT_EQ(r.model->singleKey(), 65);
    // The keypad Enter keeps its own key.
    r.key(0x0D, 20, Extended);
    EXPECT_EQ(r.model->singleKey(), 269);
    EXPECT_EQ(r.model->singleKeyCode(), 107);
    // A key the keyboard does not have says so; the key becomes the one without a code.
    const KeyRecorder::Outcome unknown = r.model->hookMessage(0xF3, 0, 30);
    EXPECT_TRUE(unknown.unknownKey);
    EXPECT_EQ(unknown.hookKey, 0xF3);
    EXPECT_EQ(unknown.code, 0);
    EXPECT_EQ(r.model->singleKeyCode(), 0);
    r.model->stopRecording();
    // Nothing arrives once it has stopped.
    r.key(0x42, 40);
    EXPECT_EQ(r.model->singleKeyCode(), 0);

    // Only into an entry of a list, and a combination only in combo mode.
    EXPECT_FALSE(r.model->startRecording(Recording::Combination));
    EXPECT_FALSE(r.model->startRecording(Recording::None));
    r.state->predefinedMacros.clear();
    KeySettingsModel empty(keySettingsInput(*r.state));
    EXPECT_FALSE(empty.startRecording(Recording::Macro));
    EXPECT_FALSE(empty.isRecording());
}
