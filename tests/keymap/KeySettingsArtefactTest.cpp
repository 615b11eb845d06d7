#include "KeySettingsHarness.h"

#include "keymap/NuboDialogVirtual.h"
#include "layout/VirtualKeyboardTable.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

using namespace KeySettingsTable;

namespace {

ActionList steps(std::vector<std::string> names)
{
    ActionList list;
    for (const std::string &name : names)
        list.setAt(20000, name);
    list.top = 0;
    list.selected = 0;
    return list;
}

void addEntry(ActionList &list, const std::string &name, const ActionList &entry)
{
    list.setAt(20000, name);
    list.items.editBack() = entry;
    list.items.editBack().pageRows = list.pageRows;
}

// Lists a user might keep, so that the pictures show the rows as they are used.
void fillLists(AppState &state, bool chinese)
{
    state.predefinedCombos = ActionList(6);
    addEntry(state.predefinedCombos, chinese ? "复制" : "Copy", steps({"LCTRL", "C"}));
    addEntry(state.predefinedCombos, chinese ? "粘贴" : "Paste", steps({"LCTRL", "V"}));
    addEntry(state.predefinedCombos, chinese ? "任务管理器" : "Task manager",
             steps({"LCTRL", "LSHIFT", "ESC"}));
    addEntry(state.predefinedCombos, chinese ? "锁屏" : "Lock screen", steps({"LWin", "L"}));
    state.predefinedCombos.top = 0;
    state.predefinedCombos.selected = 2;

    state.predefinedMacros = ActionList(9);
    addEntry(state.predefinedMacros, chinese ? "签名" : "Signature",
             steps({"LSHIFT Down", "<41 ms>", "K Down", "<12 ms>", "K UP", "<30 ms>", "LSHIFT UP",
                    "<55 ms>", "R Down", "<23 ms>", "R UP", "<50 ms>"}));
    addEntry(state.predefinedMacros, chinese ? "构建" : "Build",
             steps({"F5 Down", "<20 ms>", "F5 UP", "<50 ms>"}));
    for (int n = 1; n <= 3; ++n)
        addEntry(state.predefinedMacros, (chinese ? "宏定义" : "New Macro ") + std::to_string(n),
                 steps({"A Down", "<30 ms>", "A UP"}));
    state.predefinedMacros.top = 0;
    state.predefinedMacros.selected = 0;

    state.predefinedEmulations = ActionList(9);
    addEntry(state.predefinedEmulations, chinese ? "问候" : "Hello",
             steps({"H", "E", "L", "L", "O"}));
    addEntry(state.predefinedEmulations, chinese ? "双击" : "Double tap", steps({"SPACEBAR"}));
    state.predefinedEmulations.items.editAt(0).delayMs = 120;
    state.predefinedEmulations.top = 0;
    state.predefinedEmulations.selected = 0;
}

// A choice made on each page, and a button under the pointer.
struct PageScene {
    int page;
    std::vector<int> clicks;
    int hover;
};

} // namespace

// Every page in both languages for Quillo(S) and Quillo(RGB), and the virtual keyboard, left
// in test-artefacts/ for people to look at; the faces must hold what the pages show.
TEST(KeySettingsArtefacts, EveryPageInBothLanguages)
{
    const PageScene scenes[] = {
        {1, {}, VirtualSingleButton},
        {2, {FirstMacroStepRow + 2}, NewMacroButton},
        {3, {}, RecordEmuButton},
        {4, {402}, 405},
        {5, {506}, 510},
        {6, {615}, 623},
        {7, {702}, 703},
    };
    for (int variant : {3, 4}) {
        for (const char *language : {"zh-CN", "en-US"}) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(variant));
            const bool chinese = std::string(language) == "zh-CN";
            KeySettingsFixture f(variant, language);
            ASSERT_TRUE(f.skinsLoaded);
            fillLists(*f.state, chinese);
            // Chinese shows a single key, English a combination.
            if (chinese)
                f.state->setAssignment(5, 0, {1, 31, {}});
            else
                f.state->setAssignment(5, 0, {2, 0, f.state->predefinedCombos.items[2]});
            for (const PageScene &scene : scenes) {
                auto dialog = f.open();
                ASSERT_TRUE(dialog);
                dialog->clickId(FirstTab + scene.page - 1);
                for (int id : scene.clicks)
                    dialog->clickId(id);
                moveMouse(*dialog, centreOf(*dialog, scene.hover));
                ASSERT_EQ(dialog->shownPage(), scene.page);
                const QString name = QStringLiteral("key-settings-variant-%1-%2-page-%3")
                                         .arg(variant)
                                         .arg(QLatin1String(chinese ? "zh" : "en"))
                                         .arg(scene.page);
                EXPECT_TRUE(saveArtefact(*dialog, ColourKey, name));
            }
        }
    }

    // The dialog at the scale of a 1080-line screen, as most people will see it.
    KeySettingsFixture large(4, "en-US");
    large.state->scaleFactor = 1.5f;
    fillLists(*large.state, false);
    large.state->setAssignment(5, 0, {3, 0, large.state->predefinedMacros.items[0]});
    auto dialog = large.open();
    EXPECT_TRUE(saveArtefact(*dialog, ColourKey, "key-settings-variant-4-en-page-2-scale-1.5"));
}

TEST(KeySettingsArtefacts, VirtualKeyboardInBothModes)
{
    // Its texts are drawn at the screen's resolution, so the larger scale shows them sharper.
    for (const float scale : {1.0f, 1.5f}) {
        for (const char *language : {"en-US", "zh-CN"}) {
            KeySettingsFixture f(4, language);
            ASSERT_TRUE(f.skinsLoaded);
            f.state->scaleFactor = scale;
            const SkinImages faces
                = f.skins.images(SkinIds::skinSet(SkinDialog::VirtualKeyboard, 4));
            ASSERT_TRUE(faces.isComplete());
            ASSERT_EQ(faces.background.size(),
                      QSize(VirtualKeyboardTable::BaseWidth, VirtualKeyboardTable::BaseHeight));
            QString suffix = QLatin1String(std::string(language) == "zh-CN" ? "zh" : "en");
            if (scale != 1.0f)
                suffix += QStringLiteral("-scale-%1").arg(double(scale));

            f.state->virtualPick = 70;
            NuboDialogVirtual single(f.context(), f.state->catalogue, *f.state, faces);
            single.pickMode = 1;
            ASSERT_TRUE(single.initialise());
            single.show();
            EXPECT_TRUE(saveArtefact(single, VirtualKeyboardTable::ColourKey,
                                     QStringLiteral("virtual-keyboard-single-") + suffix));

            NuboDialogVirtual combination(f.context(), f.state->catalogue, *f.state, faces);
            combination.pickMode = 2;
            ASSERT_TRUE(combination.initialise());
            combination.show();
            for (int id : {166, 168, 180}) { // Ctrl, Alt, Delete
                const int index = combination.table().indexOfId(id);
                combination.clickEntry(index);
            }
            const ButtonRect hovered
                = combination.table()[std::size_t(combination.table().indexOfId(146))].rect;
            moveMouse(combination, QPoint(hovered.left + 4, hovered.top + 4));
            EXPECT_TRUE(saveArtefact(combination, VirtualKeyboardTable::ColourKey,
                                     QStringLiteral("virtual-keyboard-combination-") + suffix));
        }
    }
}
