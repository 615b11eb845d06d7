#include "keymap/KeySettingsModel.h"
#include "StateInput.h"
#include "model/AppState.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<AppState> stateOf(int deviceType, int key = 5, int layer = 0)
{
    auto state = std::make_unique<AppState>();
    state->buildCatalogue();
    state->deviceType = deviceType;
    state->resetKeyModel();
    state->currentKey = key;
    state->currentLayer = layer;
    return state;
}

ActionList action(std::vector<std::string> steps, int times = 1)
{
    ActionList list;
    for (const std::string &step : steps)
        list.setAt(20000, step);
    list.times = times;
    return list;
}

// A list of entries named n0, n1, ... whose steps are their own names.
ActionList listOf(int count, int rows)
{
    ActionList list(rows);
    for (int i = 0; i < count; ++i) {
        list.setAt(20000, "n" + std::to_string(i));
        list.items.editBack() = action({"S" + std::to_string(i)});
    }
    list.top = 0;
    list.selected = 0;
    return list;
}

} // namespace

TEST(KeySettingsModel, OpensOnThePageOfTheKeysCategory)
{
    auto state = stateOf(4);
    struct Case {
        int category;
        int code;
        int page;
    } cases[]
        = {{0, 0, 1}, {1, 43, 1}, {5, 112, 4}, {6, 199, 5}, {7, 156, 6}, {8, 76, 7}, {9, 3, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.category);
        state->setAssignment(5, 0, {c.category, c.code, {}});
        const KeySettingsModel model(keySettingsInput(*state));
        EXPECT_EQ(model.page(), c.page);
        EXPECT_TRUE(model.singleMode());
        EXPECT_EQ(model.singleKey(), c.category == 1 ? 65 : -1); // code 43 is "A"
        for (int page = 4; page <= 7; ++page)
            EXPECT_EQ(model.chosenCode(page), page == c.page ? c.code : -1);
    }

    // The combination, macro or emulation is found in its list and becomes current.
    state->predefinedCombos = listOf(8, 6);
    state->setAssignment(5, 0, {2, 0, action({"S7"})});
    KeySettingsModel combo(keySettingsInput(*state));
    EXPECT_EQ(combo.page(), 1);
    EXPECT_FALSE(combo.singleMode());
    EXPECT_EQ(combo.combos().selectedIndex(), 7);
    EXPECT_EQ(combo.combos().list().top, 7); // scrolled into view
    EXPECT_EQ(combo.combos().current().names, std::vector<std::string>{"S7"});
    EXPECT_EQ(combo.combos().size(), 8);

    // A macro no longer in its list comes back as a "default" entry.
    state->predefinedMacros = listOf(2, 9);
    state->setAssignment(5, 0, {3, 0, action({"A Down", "<30 ms>", "A UP"}, 4)});
    KeySettingsModel macro(keySettingsInput(*state));
    EXPECT_EQ(macro.page(), 2);
    ASSERT_EQ(macro.macros().size(), 3);
    EXPECT_EQ(macro.macros().list().names.back(), "default");
    EXPECT_EQ(macro.macros().selectedIndex(), 2);
    EXPECT_EQ(macro.macros().current().times, 4);
    EXPECT_EQ(macro.macros().current().size(), 3);
    EXPECT_EQ(state->predefinedMacros.size(), 2); // only the working copy grew

    state->predefinedEmulations = listOf(3, 9);
    state->setAssignment(5, 0, {4, 0, action({"S1"})});
    KeySettingsModel emulation(keySettingsInput(*state));
    EXPECT_EQ(emulation.page(), 3);
    EXPECT_EQ(emulation.emulations().selectedIndex(), 1);
    EXPECT_EQ(emulation.emulations().size(), 3);
}

TEST(KeySettingsModel, DefaultShowsTheFactoryCodeOnItsPage)
{
    auto state = stateOf(4, 88, 0); // Mute on the top layer
    KeySettingsModel model(keySettingsInput(*state));
    model.restoreDefault();
    EXPECT_EQ(model.page(), 4);
    EXPECT_EQ(model.chosenCode(4), 112);

    auto fnLayer = stateOf(4, 10, 1); // Adjust Trigger Point
    KeySettingsModel function(keySettingsInput(*fnLayer));
    function.restoreDefault();
    EXPECT_EQ(function.page(), 6);
    EXPECT_EQ(function.chosenCode(6), 151);

    // Each range of codes lands on its page; the ISO key counts as a key.
    struct Case {
        int code;
        int page;
    } cases[] = {{1, 1},   {107, 1}, {204, 1}, {108, 4}, {125, 4}, {126, 5}, {134, 5},
                 {157, 5}, {158, 5}, {173, 5}, {135, 6}, {156, 6}, {174, 6}, {198, 6}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        KeySettingsModel shown(keySettingsInput(*state));
        shown.showPage(7);
        shown.setSingleMode(false);
        shown.showDefaultCode(c.code);
        EXPECT_EQ(shown.page(), c.page);
        if (c.page == 1) {
            EXPECT_TRUE(shown.singleMode());
            EXPECT_EQ(shown.singleKeyCode(), c.code);
        } else {
            EXPECT_EQ(shown.chosenCode(c.page), c.code);
        }
    }
    // Codes above 198 change nothing; code 0 shows the nameless key, which OK stores as Not set.
    KeySettingsModel beyond(keySettingsInput(*state));
    beyond.showPage(3);
    beyond.showDefaultCode(199);
    EXPECT_EQ(beyond.page(), 3);
    beyond.showDefaultCode(0);
    EXPECT_EQ(beyond.page(), 1);
    EXPECT_EQ(beyond.singleKey(), 1023);
    EXPECT_EQ(beyond.singleKeyCode(), 0);
    EXPECT_EQ(beyond.confirm().assignment.category, KeyAssignment::NotSet);
}

TEST(KeySettingsModel, OkStoresWhatThePageShowsOrNotSet)
{
    auto state = stateOf(4);
    // Page 4 with nothing chosen: the key becomes "Not set".
    KeySettingsModel nothing(keySettingsInput(*state));
    nothing.showPage(4);
    KeyMapChange change = nothing.confirm();
    EXPECT_EQ(change.assignment.category, KeyAssignment::NotSet);
    EXPECT_EQ(change.list, KeyMapChange::List::None);
    change.applyTo(*state);
    EXPECT_EQ(state->category[AppState::index(5, 0)], 0);

    // A code chosen twice is unchosen again; another code replaces it.
    KeySettingsModel media(keySettingsInput(*state));
    media.showPage(4);
    media.toggleCode(4, 113);
    media.toggleCode(4, 113);
    EXPECT_EQ(media.chosenCode(4), -1);
    media.toggleCode(4, 113);
    media.toggleCode(4, 110);
    change = media.confirm();
    EXPECT_EQ(change.assignment.category, KeyAssignment::Multimedia);
    EXPECT_EQ(change.assignment.code, 110);

    // A single key, and Clear afterwards.
    KeySettingsModel single(keySettingsInput(*state));
    single.setSingleKey(66); // B
    change = single.confirm();
    EXPECT_EQ(change.assignment.category, KeyAssignment::Single);
    EXPECT_EQ(change.assignment.code, 60);
    EXPECT_EQ(change.list, KeyMapChange::List::Combos);
    single.showPage(7);
    single.clear();
    EXPECT_EQ(single.page(), 1);
    EXPECT_EQ(single.confirm().assignment.category, KeyAssignment::NotSet);

    // Combo mode takes the current combination, an empty one stores nothing.
    state->predefinedCombos = listOf(3, 6);
    KeySettingsModel combo(keySettingsInput(*state));
    combo.setSingleMode(false);
    ASSERT_TRUE(combo.combos().selectRow(2));
    change = combo.confirm();
    EXPECT_EQ(change.assignment.category, KeyAssignment::Combo);
    EXPECT_EQ(change.assignment.code, 0);
    EXPECT_EQ(change.assignment.action.names, std::vector<std::string>{"S2"});
    combo.combos().current().clear();
    EXPECT_EQ(combo.confirm().assignment.category, KeyAssignment::NotSet);

    // Only the list of the page showing goes back.
    state->predefinedMacros = listOf(1, 9);
    KeySettingsModel macro(keySettingsInput(*state));
    macro.showPage(2);
    change = macro.confirm();
    EXPECT_EQ(change.list, KeyMapChange::List::Macros);
    EXPECT_EQ(change.assignment.category, KeyAssignment::Macro);
    macro.showPage(3);
    EXPECT_EQ(macro.confirm().list, KeyMapChange::List::Emulations);
    EXPECT_EQ(macro.confirm().assignment.category, KeyAssignment::NotSet); // no emulations
}

TEST(KeySettingsModel, FnGoesOnBothLayersAndStaysThere)
{
    auto state = stateOf(3, 5, 0);
    KeySettingsModel top(keySettingsInput(*state));
    top.showPage(6);
    top.toggleCode(6, KeySettingsModel::FnCode);
    KeyMapChange change = top.confirm();
    EXPECT_TRUE(change.fnOnBothLayers);
    change.applyTo(*state);
    for (int layer = 0; layer < 2; ++layer) {
        EXPECT_EQ(state->category[AppState::index(5, layer)], KeyAssignment::Function);
        EXPECT_EQ(state->code[AppState::index(5, layer)], 156);
    }

    // Anything else given later to one layer leaves the other as it is.
    state->currentLayer = 1;
    KeySettingsModel fnLayer(keySettingsInput(*state));
    EXPECT_EQ(fnLayer.page(), 6);
    fnLayer.showPage(4);
    fnLayer.toggleCode(4, 112);
    change = fnLayer.confirm();
    EXPECT_FALSE(change.fnOnBothLayers);
    change.applyTo(*state);
    EXPECT_EQ(state->code[AppState::index(5, 1)], 112);
    EXPECT_EQ(state->code[AppState::index(5, 0)], 156);
    EXPECT_EQ(state->category[AppState::index(5, 0)], KeyAssignment::Function);
}

TEST(WorkingList, KeepsTheCurrentEntryAndCopiesItBack)
{
    WorkingList list(listOf(12, 9), 9);
    EXPECT_EQ(list.current().names, std::vector<std::string>{"S0"});
    // An edit of the current entry survives a change of the selection.
    list.current().times = 7;
    ASSERT_TRUE(list.selectRow(3));
    EXPECT_EQ(list.list().items[0].times, 7);
    EXPECT_EQ(list.current().names, std::vector<std::string>{"S3"});
    EXPECT_FALSE(list.selectRow(9)); // beyond the visible rows
    EXPECT_FALSE(list.selectRow(-1));

    // The scroll bar stands for the absolute index; the window moves only when it must.
    list.scrollTo(8);
    EXPECT_EQ(list.list().top, 0);
    EXPECT_EQ(list.list().selected, 8);
    list.scrollTo(11);
    EXPECT_EQ(list.list().top, 11);
    EXPECT_EQ(list.selectedIndex(), 11);
    list.scrollTo(500);
    EXPECT_EQ(list.selectedIndex(), 11);
    EXPECT_EQ(list.current().names, std::vector<std::string>{"S11"});

    list.current().delayMs = 99;
    EXPECT_EQ(list.result().items[11].delayMs, 99);
    EXPECT_EQ(list.list().items[11].delayMs, 30); // result() leaves the working copy alone

    // An empty list has no selection and nothing to copy back.
    WorkingList empty(ActionList(6), 6);
    EXPECT_EQ(empty.selectedIndex(), -1);
    EXPECT_FALSE(empty.selectRow(0));
    empty.scrollTo(3);
    empty.storeCurrent();
    EXPECT_EQ(empty.size(), 0);

    // Positions from a damaged profile are brought back within the list.
    ActionList odd = listOf(3, 9);
    odd.top = 40;
    odd.selected = -5;
    WorkingList clamped(odd, 9);
    EXPECT_EQ(clamped.selectedIndex(), 2);
}

TEST(KeySettingsModel, ARecordingFillsOnlyTheEntryItStartedIn)
{
    auto state = stateOf(4);
    state->predefinedMacros = listOf(12, 9);
    KeySettingsModel model(keySettingsInput(*state));
    WorkingList &macros = model.macros();
    ASSERT_TRUE(macros.selectRow(1));
    ASSERT_TRUE(model.startRecording(KeySettingsModel::Recording::Macro));
    model.hookMessage(0x42, 0, 100u);

    // Nothing makes another entry current while it runs.
    EXPECT_FALSE(macros.selectRow(0));
    EXPECT_FALSE(macros.scrollTo(11));
    EXPECT_FALSE(macros.addEntry("x"));
    EXPECT_FALSE(macros.removeSelected());
    EXPECT_EQ(macros.selectedIndex(), 1);
    EXPECT_EQ(macros.size(), 12);

    // Moved behind its back, the recording takes no more keys and stores nothing there.
    macros.list().selected = 0;
    EXPECT_FALSE(model.hookMessage(0x43, 0, 200u).changed);
    model.stopRecording();
    EXPECT_EQ(macros.list().items[0].names, std::vector<std::string>{"S0"});
    EXPECT_EQ(macros.list().items[1].names, std::vector<std::string>{"S1"});
    EXPECT_TRUE(macros.selectRow(2)); // the list is free again
    EXPECT_EQ(macros.list().items[0].names, std::vector<std::string>{"S0"});

    // Left alone it ends as it should: its final delay, stored in its own entry.
    ASSERT_TRUE(model.startRecording(KeySettingsModel::Recording::Macro));
    model.hookMessage(0x42, 0, 100u);
    model.hookMessage(0x80000042u, 0, 130u);
    model.stopRecording();
    EXPECT_EQ(macros.list().items[2].names,
              (std::vector<std::string>{"B Down", "<30 ms>", "B UP", "<50 ms>"}));
}
