#include "model/StepText.h"
#include "model/HookEventDecoder.h"
#include "model/KeyCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace StepText;

namespace {

class StepTextTest : public ::testing::Test {
protected:
    std::unique_ptr<KeyCatalogue> catalogue = std::make_unique<KeyCatalogue>();
};

constexpr std::uintptr_t Release = 0x80000000u;
constexpr std::intptr_t Extended = 0x01000000;

// A clock and key states the test moves by hand.
struct FakeKeyboard {
    std::chrono::steady_clock::time_point now{std::chrono::hours(1000)};
    std::map<int, int> states;

    HookEventDecoder decoder()
    {
        return HookEventDecoder([this](int vk) { return states[vk]; }, [this] { return now; });
    }
    void advance(int ms) { now += std::chrono::milliseconds(ms); }
    void press(int vk) { states[vk] = (states[vk] ^ 1) | HookEventDecoder::KeyDownBit; }
    void release(int vk) { states[vk] &= ~HookEventDecoder::KeyDownBit; }
};

} // namespace

TEST_F(StepTextTest, StepTextNamesTheKeyAndItsDirection)
{
    EXPECT_EQ(stepText(*catalogue, 269, true), "(Enter) Down");
    EXPECT_EQ(stepText(*catalogue, 512 + 65, true), "A UP");
    EXPECT_EQ(stepText(*catalogue, 512 + 269, false), "(Enter)");
    EXPECT_EQ(stepText(*catalogue, 65, false), "A");
    EXPECT_EQ(stepText(*catalogue, 7, true), "-- --");
    EXPECT_EQ(stepText(*catalogue, 512 + 0, false), "-- --");
    EXPECT_EQ(delayStep(0), "<0 ms>");
    EXPECT_EQ(delayStep(65535), "<65535 ms>");
}

TEST_F(StepTextTest, StepValuesAreDelaysOrDeviceCodes)
{
    EXPECT_EQ(stepValue(*catalogue, "(Enter) UP"), 107);
    EXPECT_EQ(stepValue(*catalogue, "(Enter) Down"), 107);
    EXPECT_EQ(stepValue(*catalogue, "<0 ms>"), 0);
    EXPECT_EQ(stepValue(*catalogue, "<30 ms>"), 30);
    EXPECT_EQ(stepValue(*catalogue, "<65535 ms>"), 65535);
    EXPECT_EQ(stepValue(*catalogue, "<-5 ms>"), -5);
    EXPECT_EQ(stepValue(*catalogue, "Mouse Key Left"), 130);
    EXPECT_EQ(stepValue(*catalogue, "A Down"), 43);
    EXPECT_EQ(stepValue(*catalogue, "LCTRL"), 67);
    EXPECT_EQ(stepValue(*catalogue, "Power"), 77);
    EXPECT_EQ(stepValue(*catalogue, "Left Double Click"), 199);

    // A name shared by several keys resolves to the lowest one: the platform's Sleep key,
    // which is not on the keyboard.
    EXPECT_EQ(stepValue(*catalogue, "Sleep"), 0);
    EXPECT_EQ(stepValue(*catalogue, "Sleep UP"), 0);

    // Nothing that merely resembles a step.
    for (const char *text : {"", "a Down", "A down", "A  UP", "ADown", "-- --", "F13"})
        EXPECT_EQ(stepValue(*catalogue, text), 0) << text;
    // Damaged delays read as far as they are numbers, without overflowing.
    EXPECT_EQ(stepValue(*catalogue, "ms>"), 0);
    EXPECT_EQ(stepValue(*catalogue, "< ms>"), 0);
    EXPECT_EQ(stepValue(*catalogue, "<12x ms>"), 12);
    EXPECT_EQ(stepValue(*catalogue, "<99999999999999999999 ms>"), INT_MAX);
    EXPECT_EQ(stepValue(*catalogue, "<-99999999999999999999 ms>"), INT_MIN);

    EXPECT_TRUE(isDelayStep("<50 ms>"));
    EXPECT_FALSE(isDelayStep("A Down"));
    EXPECT_FALSE(isDelayStep(" ms>"));
}

TEST(HookEventDecoder, DecodesKeysReleasesAndTheKeypadEnter)
{
    FakeKeyboard keyboard;
    HookEventDecoder decoder = keyboard.decoder();

    HookEvent event = decoder.decodeHookEvent(0x41, 0);
    EXPECT_EQ(event.key, 65);
    EXPECT_FALSE(event.up);
    EXPECT_EQ(event.previousKey, -1);
    EXPECT_EQ(event.elapsedMs, 0);

    keyboard.advance(120);
    event = decoder.decodeHookEvent(Release | 0x41, 0);
    EXPECT_EQ(event.key, 512 + 65);
    EXPECT_TRUE(event.up);
    EXPECT_EQ(event.previousKey, 65);
    EXPECT_EQ(event.elapsedMs, 120);

    // The system-key bit and the high bits of the code are ignored; Enter with the extended
    // flag is the keypad Enter, other extended keys stay themselves.
    keyboard.advance(5);
    EXPECT_EQ(decoder.decodeHookEvent(0x40000000u | 0x0D, Extended).key, 269);
    EXPECT_EQ(decoder.decodeHookEvent(Release | 0x0D, Extended).key, 512 + 269);
    EXPECT_EQ(decoder.decodeHookEvent(0x0D, 0).key, 13);
    EXPECT_EQ(decoder.decodeHookEvent(0xA3, Extended).key, 163);

    // Long pauses are capped; a clock that runs backwards gives 0.
    keyboard.advance(100000);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0).elapsedMs, 65535);
    keyboard.advance(-50);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0).elapsedMs, 0);

    // Without an injected clock the real one measures.
    HookEventDecoder real([](int) { return 0; });
    real.decodeHookEvent(0x41, 0);
    EXPECT_LT(real.decodeHookEvent(0x41, 0).elapsedMs, 1000);

    decoder.reset();
    keyboard.advance(10);
    event = decoder.decodeHookEvent(0x42, 0);
    EXPECT_EQ(event.previousKey, -1);
    EXPECT_EQ(event.elapsedMs, 0);
}

TEST(HookEventDecoder, TellsTheShiftKeysApart)
{
    FakeKeyboard keyboard;
    HookEventDecoder decoder = keyboard.decoder();

    keyboard.press(161);
    EXPECT_EQ(decoder.decodeHookEvent(0x10, 0).key, 161);
    keyboard.release(161);
    EXPECT_EQ(decoder.decodeHookEvent(Release | 0x10, 0).key, 512 + 161);

    keyboard.press(160);
    EXPECT_EQ(decoder.decodeHookEvent(0x10, 0).key, 160);
    keyboard.press(161);
    EXPECT_EQ(decoder.decodeHookEvent(0x10, 0).key, 160); // left still held
    keyboard.release(161);
    EXPECT_EQ(decoder.decodeHookEvent(Release | 0x10, 0).key, 512 + 161);
    keyboard.release(160);
    EXPECT_EQ(decoder.decodeHookEvent(Release | 0x10, 0).key, 512 + 160);

    // Without a state change the generic Shift is all that can be said.
    EXPECT_EQ(decoder.decodeHookEvent(Release | 0x10, 0).key, 512 + 16);
    EXPECT_EQ(decoder.decodeHookEvent(0x10, 0).key, 16);
}

TEST(HookEventDecoder, MeasuresDelaysFromTheKeystrokesOwnTimes)
{
    FakeKeyboard keyboard;
    HookEventDecoder decoder = keyboard.decoder();

    // However late the messages are handled, the keystrokes' times decide.
    decoder.decodeHookEvent(0x41, 0, 1000u);
    keyboard.advance(900);
    EXPECT_EQ(decoder.decodeHookEvent(Release | 0x41, 0, 1040u).elapsedMs, 40);
    // The millisecond clock wraps; one that went back reads as no time; long pauses are capped.
    decoder.decodeHookEvent(0x41, 0, 0xFFFFFFF0u);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0, 0x10u).elapsedMs, 32);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0, 0x05u).elapsedMs, 0);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0, 200000u).elapsedMs, 65535);

    // A message without a time is measured when handled, as is the one after it.
    keyboard.advance(70);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0).elapsedMs, 70);
    keyboard.advance(15);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0, 500u).elapsedMs, 15);
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0, 530u).elapsedMs, 30);
    decoder.reset();
    EXPECT_EQ(decoder.decodeHookEvent(0x41, 0, 9000u).elapsedMs, 0);
}
