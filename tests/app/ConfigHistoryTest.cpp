#include "model/ConfigHistory.h"
#include "app/KeyCommand.h"
#include "app/ProfileOpening.h"
#include "model/AppState.h"
#include "model/KeyMapChange.h"
#include "profile/ProfileFile.h"
#include "skin/FontTable.h"

#include "../profile/TempFolder.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Change = ConfigHistory::Change;

struct Model {
    explicit Model(int variant = 4)
    {
        state.deviceType = variant;
        state.buildCatalogue();
        state.resetKeyModel();
    }

    // OK in the key settings dialog, as the main window's key command stores it.
    void confirmKey(int key, int layer, int category, int code, const ActionList &list = {},
                    KeyMapChange::List which = KeyMapChange::List::None)
    {
        KeyMapChange change;
        change.key = key;
        change.layer = layer;
        change.assignment.category = category;
        change.assignment.code = code;
        change.list = which;
        change.listValue = list;
        FontTable fonts;
        KeyCommand(state, {state.language, state.scaleFactor, fonts}).store(change);
    }

    KeyAssignment at(int key, int layer) const { return state.assignment(key, layer); }

    AppState state;
};

ActionList macroList(std::initializer_list<const char *> names)
{
    ActionList list(9);
    for (const char *name : names) {
        list.append(name);
        list.items.editBack().append("A Down");
        list.items.editBack().append("A UP");
    }
    return list;
}

} // namespace

TEST(ConfigHistory, UndoAndRedoGoBackAndForthThroughKeysClearOpenAndLights)
{
    Model m;
    TempFolder folder;
    const int defaultCode = m.at(30, 0).code;

    m.confirmKey(30, 0, KeyAssignment::Multimedia, 110);
    m.state.history.edit(m.state, Change::Clear, ConfigHistory::Scope::everything(),
                         [&] { m.state.resetKeyModel(); });
    EXPECT_EQ(m.at(30, 0).code, defaultCode);

    // A profile with a macro list and a red key, opened as the main window opens it.
    {
        Model other;
        other.state.predefinedMacros = macroList({"copy", "paste"});
        other.state.lightSettings[5] = {255, 0, 0};
        other.state.setAssignment(7, 1, {KeyAssignment::Power, 76, {}});
        ASSERT_TRUE(writeProfile(other.state, other.state.deviceType, folder / "other.pro"));
    }
    const KeyAssignment f6 = m.at(7, 1);
    ASSERT_EQ(ProfileOpening::open(m.state, folder / "other.pro", "other.pro", {}), "");
    EXPECT_EQ(m.state.predefinedMacros.size(), 2);

    const LightSettings before = m.state.lightSettings;
    m.state.lightSettings[9] = {0, 0, 255};
    m.state.history.recordLights(m.state, before);
    m.state.history.recordLights(m.state, m.state.lightSettings); // nothing changed: no step
    ASSERT_EQ(m.state.history.size(), 4u);

    EXPECT_EQ(m.state.history.nextUndo(), Change::Lights);
    ASSERT_TRUE(m.state.history.undo(m.state, m.state.notWritten));
    EXPECT_EQ(m.state.lightSettings[9], LightColour{});
    EXPECT_EQ(m.state.lightSettings[5], (LightColour{255, 0, 0}));

    EXPECT_EQ(m.state.history.nextUndo(), Change::Open);
    ASSERT_TRUE(m.state.history.undo(m.state, m.state.notWritten));
    EXPECT_EQ(m.state.predefinedMacros.size(), 0);
    EXPECT_EQ(m.state.lightSettings[5], LightColour{});
    EXPECT_EQ(m.at(7, 1).category, f6.category);
    EXPECT_EQ(m.at(7, 1).code, f6.code);

    ASSERT_TRUE(m.state.history.undo(m.state, m.state.notWritten)); // Clear
    EXPECT_EQ(m.at(30, 0).category, KeyAssignment::Multimedia);
    EXPECT_EQ(m.at(30, 0).code, 110);
    ASSERT_TRUE(m.state.history.undo(m.state, m.state.notWritten)); // the key
    EXPECT_EQ(m.at(30, 0).code, defaultCode);
    EXPECT_FALSE(m.state.history.undo(m.state, m.state.notWritten));
    EXPECT_FALSE(m.state.history.canUndo());

    // And all the way forth again.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(m.state.history.redo(m.state, m.state.notWritten));
    EXPECT_FALSE(m.state.history.redo(m.state, m.state.notWritten));
    EXPECT_EQ(m.state.predefinedMacros.size(), 2);
    EXPECT_EQ(m.state.lightSettings[9], (LightColour{0, 0, 255}));
    EXPECT_EQ(m.at(7, 1).code, 76);
}

TEST(ConfigHistory, ANewChangeDropsWhatWasUndoneAndTheOldestGoBeyondTheDepth)
{
    Model m;
    m.confirmKey(1, 0, KeyAssignment::Mouse, 126);
    m.confirmKey(2, 0, KeyAssignment::Mouse, 127);
    m.confirmKey(3, 0, KeyAssignment::Mouse, 128);
    m.state.history.undo(m.state, m.state.notWritten);
    m.state.history.undo(m.state, m.state.notWritten);
    ASSERT_TRUE(m.state.history.canRedo());

    m.confirmKey(4, 0, KeyAssignment::Mouse, 129);
    EXPECT_FALSE(m.state.history.canRedo());
    EXPECT_EQ(m.state.history.size(), 2u);
    m.state.history.undo(m.state, m.state.notWritten);
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_EQ(m.at(1, 0).category, KeyAssignment::Single);
    m.state.history.redo(m.state, m.state.notWritten);
    m.state.history.redo(m.state, m.state.notWritten);
    EXPECT_EQ(m.at(4, 0).code, 129);
    EXPECT_EQ(m.at(2, 0).category, KeyAssignment::Single); // the dropped branch stays dropped

    // At least 50 changes back; beyond the depth the oldest are forgotten.
    for (int i = 0; i < ConfigHistory::Depth + 20; ++i)
        m.confirmKey(10 + i % 50, i % 2, KeyAssignment::Multimedia, 108 + i % 18);
    EXPECT_EQ(m.state.history.size(), std::size_t(ConfigHistory::Depth));
    int undone = 0;
    while (m.state.history.undo(m.state, m.state.notWritten))
        ++undone;
    EXPECT_EQ(undone, ConfigHistory::Depth);
    EXPECT_GE(undone, 50);

    // Large steps: beyond KeptSteps the oldest go while the memory limit is passed, and
    // what a new change drops or a reset forgets no longer counts.
    m.state.history.reset();
    EXPECT_EQ(m.state.history.bytes(), 0u);
    m.state.history.setMaxBytes(1);
    for (int i = 0; i < ConfigHistory::KeptSteps + 10; ++i)
        m.confirmKey(10 + i % 50, 0, KeyAssignment::Macro, 0,
                     macroList({"Big", "Bigger", "Biggest", std::to_string(i).c_str()}),
                     KeyMapChange::List::Macros);
    EXPECT_EQ(m.state.history.size(), std::size_t(ConfigHistory::KeptSteps));
    const std::size_t full = m.state.history.bytes();
    EXPECT_GT(full, 0u);
    m.state.history.undo(m.state, m.state.notWritten);
    m.state.history.undo(m.state, m.state.notWritten);
    m.confirmKey(1, 0, KeyAssignment::Mouse, 126);
    EXPECT_LT(m.state.history.bytes(), full);
    EXPECT_EQ(m.state.history.size(), std::size_t(ConfigHistory::KeptSteps - 1));
}

TEST(ConfigHistory, NotWrittenFollowsWhatTheKeyboardHolds)
{
    Model m;
    m.state.history.reset(); // as the main window starts: defaults, nothing to write
    m.confirmKey(20, 0, KeyAssignment::Macro, 0, macroList({"m"}).items[0]);
    EXPECT_TRUE(m.state.notWritten);
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_FALSE(m.state.notWritten); // back to what the keyboard holds
    m.state.history.redo(m.state, m.state.notWritten);
    EXPECT_TRUE(m.state.notWritten);

    // Written: the keyboard holds it; undo now leaves something unwritten.
    m.state.notWritten = false;
    m.state.history.markKeyboardHolds();
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_TRUE(m.state.notWritten);
    m.state.history.redo(m.state, m.state.notWritten);
    EXPECT_FALSE(m.state.notWritten);

    // Lights alone never make keys unwritten.
    const LightSettings before = m.state.lightSettings;
    m.state.lightSettings[1] = {1, 2, 3};
    m.state.history.recordLights(m.state, before);
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_FALSE(m.state.notWritten);
    m.state.history.redo(m.state, m.state.notWritten);
    EXPECT_FALSE(m.state.notWritten);

    // Clear leaves the flag as it was, as the command always has; undo and redo tell.
    m.state.history.edit(m.state, Change::Clear, ConfigHistory::Scope::everything(),
                         [&] { m.state.resetKeyModel(); });
    EXPECT_FALSE(m.state.notWritten);
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_FALSE(m.state.notWritten);
    m.state.history.redo(m.state, m.state.notWritten);
    EXPECT_TRUE(m.state.notWritten);
}

TEST(ConfigHistory, AKeyStepKeepsOnlyWhatItChanged)
{
    Model m;
    m.state.predefinedMacros = macroList({"one", "two", "three"});
    const ActionList list = m.state.predefinedMacros;

    // The entry chosen from the list as it is: the list itself is not part of the step.
    const KeyAssignment original = m.at(40, 1);
    m.confirmKey(40, 1, KeyAssignment::Macro, 0, list, KeyMapChange::List::Macros);
    m.state.predefinedMacros.append("changed behind the history's back");
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_EQ(m.state.predefinedMacros.size(), 4);
    EXPECT_EQ(m.at(40, 1).category, original.category);
    EXPECT_EQ(m.at(40, 1).code, original.code);

    // An edited list is.
    m.state.predefinedMacros = list;
    ActionList edited = list;
    edited.removeAt(0);
    m.confirmKey(40, 1, KeyAssignment::Macro, 0, edited, KeyMapChange::List::Macros);
    EXPECT_EQ(m.state.predefinedMacros.size(), 2);
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_EQ(m.state.predefinedMacros.size(), 3);
    EXPECT_EQ(m.state.predefinedMacros.nameAt(0), "one");

    // FN on both layers: both layers come back.
    KeyMapChange fn;
    fn.key = 50;
    fn.layer = 0;
    fn.assignment = {KeyAssignment::Function, 135, {}};
    fn.fnOnBothLayers = true;
    const KeyAssignment top = m.at(50, 0);
    const KeyAssignment fnLayer = m.at(50, 1);
    FontTable fonts;
    KeyCommand(m.state, {m.state.language, m.state.scaleFactor, fonts}).store(fn);
    m.state.history.undo(m.state, m.state.notWritten);
    EXPECT_EQ(m.at(50, 0).code, top.code);
    EXPECT_EQ(m.at(50, 1).code, fnLayer.code);
    EXPECT_EQ(m.at(50, 1).category, fnLayer.category);
}

TEST(ConfigHistory, ACopyReadOnAnotherThreadKeepsItsListsThroughEditsAndUndo)
{
    Model m;
    m.state.predefinedMacros = macroList({"one", "two", "three"});
    for (int key = 1; key <= 20; ++key)
        m.state.setAssignment(key, 0, {KeyAssignment::Macro, 0, m.state.predefinedMacros.items[1]});
    // What a job takes along, read on its worker while the user goes on editing.
    const Configuration copy = m.state.configuration();
    std::thread reader([&copy] {
        for (int round = 0; round < 200; ++round) {
            std::size_t steps = 0;
            for (const ActionList &action : copy.action)
                steps += action.names.size();
            for (const ActionList &entry : copy.predefinedMacros.items)
                steps += entry.names.size();
            const ActionList again = copy.action[std::size_t(Configuration::index(5, 0))];
            ASSERT_EQ(steps, 20u * 2 + 3 * 2);
            ASSERT_EQ(again.names.front(), "A Down");
        }
    });
    for (int round = 0; round < 20; ++round) {
        // Edits in place, as the dialogs make them, and the history's steps.
        m.state.predefinedMacros.items.editAt(1).setAt(0, "C Down");
        m.state.action[std::size_t(Configuration::index(6, 0))].names.set(1, "C UP");
        ActionList edited = m.state.predefinedMacros;
        edited.items.editAt(1).setAt(0, "B Down");
        m.confirmKey(5, 0, KeyAssignment::Macro, 0, edited, KeyMapChange::List::Macros);
        m.state.history.edit(m.state, Change::Clear, ConfigHistory::Scope::everything(),
                             [&] { m.state.resetKeyModel(); });
        m.state.history.undo(m.state, m.state.notWritten);
        m.state.history.undo(m.state, m.state.notWritten);
    }
    reader.join();
    EXPECT_EQ(copy.predefinedMacros.items[1].names, (std::vector<std::string>{"A Down", "A UP"}));
    EXPECT_EQ(copy.assignment(5, 0).action.names.front(), "A Down");
    EXPECT_EQ(m.at(5, 0).action.names.front(), "A Down"); // undone: as it was
}
