#include "KeySettingsHarness.h"

#include "keymap/KeySettingsEditor.h"
#include "keymap/KeySettingsFields.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace KeySettingsTable;

// The editor at work, left in test-artefacts/: a macro being recorded, a new entry being
// named, a delay being edited, an emulation recorded, at the scales of a small and a
// 1080-line screen.
TEST(KeySettingsArtefacts, RecordingAndEditing)
{
    for (const char *language : {"en-US", "zh-CN"}) {
        const bool chinese = std::string(language) == "zh-CN";
        for (float scale : {1.0f, 1.5f}) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(scale));
            KeySettingsFixture f(4, language);
            ASSERT_TRUE(f.skinsLoaded);
            f.state->scaleFactor = scale;
            f.state->predefinedMacros = namedList(2, 9, "M");
            f.state->predefinedMacros.names
                = {chinese ? "签名" : "Signature", chinese ? "构建" : "Build"};
            f.state->predefinedEmulations = namedList(1, 9, "E");
            const QString suffix = QStringLiteral("%1-scale-%2")
                                       .arg(QLatin1String(chinese ? "zh" : "en"))
                                       .arg(double(scale));

            auto dialog = f.open();
            ASSERT_TRUE(dialog);
            dialog->recordingHook().setGlobalHook(FakeHook::hook(true));
            dialog->clickId(FirstTab + 1);
            dialog->clickId(RecordMacroButton);
            std::uint32_t time = 0;
            for (std::uintptr_t vk : {0xA0u, 0x51u}) {
                dialog->hookMessage(vk, 0, time += 40);
            }
            for (std::uintptr_t vk : {0x51u, 0xA0u, 0x4Cu, 0x4Cu})
                dialog->hookMessage(0x80000000u | vk, 0, time += 25);
            dialog->hookMessage(0x4C, 0, time += 90);
            EXPECT_TRUE(saveArtefact(*dialog, ColourKey, "key-settings-recording-" + suffix));

            dialog->clickId(RecordMacroButton);
            dialog->clickId(FirstMacroStepRow + 2);
            dialog->clickId(FirstMacroStepRow + 2);
            EXPECT_TRUE(dialog->fields().inPlace()->isVisible());
            EXPECT_TRUE(saveArtefact(*dialog, ColourKey, "key-settings-delay-edit-" + suffix));

            dialog->clickId(NewMacroButton);
            dialog->clickId(NewMacroButton);
            EXPECT_TRUE(saveArtefact(*dialog, ColourKey, "key-settings-new-macro-" + suffix));

            dialog->clickId(FirstTab + 2);
            dialog->clickId(RecordEmuButton);
            for (std::uintptr_t vk : {0x48u, 0x49u})
                dialog->hookMessage(vk, 0, time += 40);
            EXPECT_TRUE(saveArtefact(*dialog, ColourKey, "key-settings-emulation-" + suffix));
        }
    }
}

// Lists at their limits, left in test-artefacts/: a long entry name, names with descenders in
// the first row, the largest auto delay and emulation interval, at both scales.
TEST(KeySettingsArtefacts, LongNamesAndLargestValues)
{
    for (const char *language : {"en-US", "zh-CN"}) {
        for (float scale : {1.0f, 1.5f}) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(scale));
            KeySettingsFixture f(4, language);
            ASSERT_TRUE(f.skinsLoaded);
            f.state->scaleFactor = scale;
            f.state->predefinedMacros = namedList(3, 9, "M");
            f.state->predefinedMacros.names = {"greeting", std::string(300, 'W'), "jumpy query"};
            ActionList &macro = f.state->predefinedMacros.items.editAt(0);
            macro.autoDelay = true;
            macro.delayMs = 60000;
            f.state->predefinedEmulations = namedList(2, 9, "E");
            f.state->predefinedEmulations.names = {"typing", "Wq" + std::string(298, 'g')};
            f.state->predefinedEmulations.items.editAt(0).delayMs = 6000;
            const QString suffix = QStringLiteral("%1-scale-%2")
                                       .arg(QLatin1String(language).left(2))
                                       .arg(double(scale));

            auto dialog = f.open();
            ASSERT_TRUE(dialog);
            dialog->clickId(FirstTab + 1);
            EXPECT_TRUE(saveArtefact(*dialog, ColourKey, "key-settings-limits-macro-" + suffix));
            dialog->clickId(FirstTab + 2);
            EXPECT_TRUE(
                saveArtefact(*dialog, ColourKey, "key-settings-limits-emulation-" + suffix));
        }
    }
}
