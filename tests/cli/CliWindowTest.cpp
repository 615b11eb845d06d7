#include "CliRunner.h"

#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/KeySettingsTable.h"
#include "model/AppState.h"
#include "profile/ProfileFile.h"
#include "skin/FontTable.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace KeySettingsTable;

ActionList entry(int pageRows, std::initializer_list<const char *> steps)
{
    ActionList list(pageRows);
    for (const char *step : steps)
        list.setAt(20000, step);
    return list;
}

void addEntry(ActionList &list, const std::string &name, const ActionList &steps)
{
    list.setAt(20000, name);
    list.items.editBack() = steps;
}

// A profile with entries in every list, and a key whose combination no list holds.
void configure(AppState &state)
{
    addEntry(state.predefinedCombos, "copy", entry(6, {"LCTRL", "C"}));
    addEntry(state.predefinedCombos, "paste", entry(6, {"LCTRL", "V"}));
    addEntry(state.predefinedMacros, "hi", entry(9, {"H Down", "H UP", "<40 ms>", "I Down"}));
    addEntry(state.predefinedMacros, "bye", entry(9, {"B Down", "B UP"}));
    addEntry(state.predefinedEmulations, "wasd", entry(9, {"W", "A", "S", "D"}));
    addEntry(state.predefinedEmulations, "jump", entry(9, {"SPACEBAR"}));
    state.setAssignment(30, 0, {KeyAssignment::Combo, 0, entry(6, {"LALT", "TAB"})});
    state.setAssignment(11, 1, {KeyAssignment::Mouse, 130, {}});
}

// The dialog with the virtual keyboard answered by the test.
class PickingKeySettings : public CNuboDialogKeyMapSettings {
public:
    using CNuboDialogKeyMapSettings::CNuboDialogKeyMapSettings;
    std::optional<int> pick;

protected:
    int runVirtualKeyboard(int) override
    {
        if (!pick)
            return QDialog::Rejected;
        picks().virtualPick = *pick;
        return QDialog::Accepted;
    }
};

struct Choice {
    int key;
    int layer;
    std::string arguments; // the ACTION of quillo-cli set
    std::vector<int> clicks;
    std::optional<int> pick = std::nullopt;
};

} // namespace

// What set writes reads back, byte for byte, as what the key settings dialog stores for the
// same choice and the main window then saves.
TEST(CliSetInTheWindow, EveryActionReadsBackAsTheDialogStoresIt)
{
    TempFolder folder;
    FontTable fonts;
    {
        AppState state;
        state.deviceType = 4;
        state.resetKeyModel();
        configure(state);
        ASSERT_TRUE(writeProfile(state, state.deviceType, folder.path("in.pro")));
    }
    const std::vector<Choice> choices = {
        {5, 0, "--single A", {FirstTab, SingleRadio, VirtualSingleButton, OkButton}, 43},
        // The dialog appends the key's own combination to the list as "default".
        {30, 0, "--single '<>|'", {SingleRadio, VirtualSingleButton, OkButton}, 204},
        {5, 1, "--combo paste", {ComboRadio, FirstComboRow + 1, OkButton}},
        {30, 1, "--combo copy", {ComboRadio, FirstComboRow, OkButton}},
        {6, 0, "--macro bye", {FirstTab + 1, FirstMacroRow + 1, OkButton}},
        {7, 1, "--emulation wasd", {FirstTab + 2, FirstEmuRow, OkButton}},
        {8, 0, "--multimedia 播放/暂停", {FirstTab + 3, 402, OkButton}},
        {8, 1, "--mouse 'left double click'", {FirstTab + 4, 511, OkButton}},
        {9, 0, "--function FN", {FirstTab + 5, 615, OkButton}},
        {9, 1, "--function 'Win Lock'", {FirstTab + 5, 610, OkButton}},
        {10, 0, "--power Sleep", {FirstTab + 6, 702, OkButton}},
        {11, 1, "--default", {DefaultButton, OkButton}},
        {1, 0, "--clear", {ClearButton, OkButton}},
    };
    for (const Choice &choice : choices) {
        SCOPED_TRACE(choice.arguments);
        const CliRun set
            = runCli("set " + folder.quoted("in.pro") + " --variant 4 --key "
                     + std::to_string(choice.key) + " --layer " + (choice.layer ? "fn" : "top")
                     + " " + choice.arguments + " -o " + folder.quoted("cli.pro"));
        ASSERT_EQ(set.status, 0) << set.err;

        AppState state;
        state.buildCatalogue();
        state.language = "en-US";
        state.deviceType = 4;
        state.scaleFactor = 1.0f;
        state.resetKeyModel();
        ASSERT_EQ(readProfile(state, state.pressCounters, state.deviceType, folder.path("in.pro")),
                  ProfileReadResult::Ok);
        state.currentKey = choice.key;
        state.currentLayer = choice.layer;
        const KeySettingsInput input{state.catalogue,
                                     state.deviceType,
                                     choice.key,
                                     choice.layer,
                                     state.assignment(choice.key, choice.layer),
                                     state.predefinedCombos,
                                     state.predefinedMacros,
                                     state.predefinedEmulations};
        PickingKeySettings dialog({state.language, state.scaleFactor, fonts}, input, state,
                                  KeySettingsSkins{});
        dialog.pick = choice.pick;
        ASSERT_TRUE(dialog.initialise());
        dialog.show();
        for (int id : choice.clicks)
            EXPECT_TRUE(dialog.clickId(id)) << id;
        ASSERT_TRUE(dialog.change());
        dialog.change()->applyTo(state);
        ASSERT_TRUE(writeProfile(state, state.deviceType, folder.path("window.pro")));

        EXPECT_EQ(readFile(folder.path("cli.pro")), readFile(folder.path("window.pro")));
        // And the window's own reader takes what set wrote.
        AppState read;
        read.deviceType = 4;
        read.resetKeyModel();
        EXPECT_EQ(readProfile(read, read.pressCounters, read.deviceType, folder.path("cli.pro")),
                  ProfileReadResult::Ok);
        EXPECT_EQ(read.category[std::size_t(AppState::index(choice.key, choice.layer))] == 0,
                  choice.arguments == "--clear");
    }
}
