#include "model/ConfigHistory.h"

#include "model/Configuration.h"
#include "model/KeyMapChange.h"

#include <limits>

namespace {

constexpr int FirstEntry = Configuration::index(1, 0);
constexpr int LastEntry = Configuration::index(Configuration::KeyCount, 1);

// Everything a list holds, positions included: what a profile stores of it.
bool sameList(const ActionList &a, const ActionList &b)
{
    if (a.pageRows != b.pageRows || a.top != b.top || a.selected != b.selected || !a.sameAction(b)
        || a.items.size() != b.items.size())
        return false;
    if (a.items.sharesWith(b.items))
        return true;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (!sameList(a.items[i], b.items[i]))
            return false;
    }
    return true;
}

const ActionList *listOf(const Configuration &state, KeyMapChange::List list)
{
    switch (list) {
    case KeyMapChange::List::Combos:
        return &state.predefinedCombos;
    case KeyMapChange::List::Macros:
        return &state.predefinedMacros;
    case KeyMapChange::List::Emulations:
        return &state.predefinedEmulations;
    case KeyMapChange::List::None:
        break;
    }
    return nullptr;
}

void swapList(std::optional<ActionList> &kept, ActionList &current)
{
    if (kept)
        std::swap(*kept, current);
}

} // namespace

ConfigHistory::Scope ConfigHistory::Scope::everything()
{
    Scope scope = keysAndLights();
    scope.combos = scope.macros = scope.emulations = true;
    return scope;
}

ConfigHistory::Scope ConfigHistory::Scope::keysAndLights()
{
    Scope scope;
    scope.allKeys = true;
    scope.lights = true;
    return scope;
}

ConfigHistory::Scope ConfigHistory::Scope::lightsOnly()
{
    Scope scope;
    scope.lights = true;
    return scope;
}

ConfigHistory::Scope ConfigHistory::Scope::of(const KeyMapChange &change)
{
    Scope scope;
    if (change.key >= 1 && change.key <= Configuration::KeyCount
        && (change.layer == 0 || change.layer == 1)) {
        scope.entries.push_back(Configuration::index(change.key, change.layer));
        if (change.fnOnBothLayers)
            scope.entries.push_back(Configuration::index(change.key, 1 - change.layer));
    }
    scope.combos = change.list == KeyMapChange::List::Combos;
    scope.macros = change.list == KeyMapChange::List::Macros;
    scope.emulations = change.list == KeyMapChange::List::Emulations;
    return scope;
}

ConfigHistory::Before ConfigHistory::capture(const Configuration &state, const Scope &scope)
{
    Before before;
    const auto keep = [&](int index) {
        const auto i = std::size_t(index);
        before.entries.push_back({index, state.category[i], state.code[i], state.action[i]});
    };
    if (scope.allKeys) {
        before.entries.reserve(std::size_t(LastEntry - FirstEntry + 1));
        for (int index = FirstEntry; index <= LastEntry; ++index)
            keep(index);
    } else {
        for (int index : scope.entries) {
            if (index >= FirstEntry && index <= LastEntry)
                keep(index);
        }
    }
    before.keys = !before.entries.empty();
    if (scope.combos)
        before.combos = state.predefinedCombos;
    if (scope.macros)
        before.macros = state.predefinedMacros;
    if (scope.emulations)
        before.emulations = state.predefinedEmulations;
    if (scope.lights)
        before.lights = state.lightSettings;
    return before;
}

ConfigHistory::Before ConfigHistory::capture(const Configuration &state, const KeyMapChange &change)
{
    Scope scope = Scope::of(change);
    // Choosing an entry without editing the list leaves the list as it is; large macro
    // lists are then not kept once per key.
    if (const ActionList *list = listOf(state, change.list);
        list && sameList(*list, change.listValue))
        scope.combos = scope.macros = scope.emulations = false;
    return capture(state, scope);
}

std::size_t ConfigHistory::footprint(const Before &parts)
{
    std::size_t bytes = sizeof(Step);
    const auto list = [&bytes](const ActionList &action, const auto &self) -> void {
        bytes += sizeof(ActionList) + action.names.capacity() * sizeof(std::string);
        for (const std::string &name : action.names)
            bytes += name.capacity() > 15 ? name.capacity() + 1 : 0;
        for (const ActionList &item : action.items)
            self(item, self);
    };
    bytes += parts.entries.capacity() * sizeof(Before::Entry);
    for (const Before::Entry &entry : parts.entries)
        list(entry.action, list);
    for (const std::optional<ActionList> *kept : {&parts.combos, &parts.macros, &parts.emulations})
        if (*kept)
            list(**kept, list);
    return bytes;
}

void ConfigHistory::record(Change change, Before &&before)
{
    Step step{change, std::move(before), m_keys, m_keys};
    if (step.parts.keys)
        step.keysAfter = ++m_lastVersion;
    step.bytes = footprint(step.parts);
    for (auto it = m_steps.begin() + std::ptrdiff_t(m_done); it != m_steps.end(); ++it)
        m_bytes -= it->bytes;
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_done), m_steps.end());
    m_bytes += step.bytes;
    m_steps.push_back(std::move(step));
    while (m_steps.size() > std::size_t(Depth)
           || (m_steps.size() > std::size_t(KeptSteps) && m_bytes > m_maxBytes)) {
        m_bytes -= m_steps.front().bytes;
        m_steps.pop_front();
    }
    m_done = m_steps.size();
    m_keys = m_steps.back().keysAfter;
}

void ConfigHistory::recordLights(const Configuration &state, const LightSettings &before)
{
    if (before == state.lightSettings)
        return;
    Before parts;
    parts.lights = before;
    record(Change::Lights, std::move(parts));
}

std::optional<ConfigHistory::Change> ConfigHistory::nextUndo() const
{
    if (!canUndo())
        return std::nullopt;
    return m_steps[m_done - 1].change;
}

std::optional<ConfigHistory::Change> ConfigHistory::nextRedo() const
{
    if (!canRedo())
        return std::nullopt;
    return m_steps[m_done].change;
}

void ConfigHistory::exchange(Before &parts, Configuration &state)
{
    for (Before::Entry &entry : parts.entries) {
        const auto i = std::size_t(entry.index);
        std::swap(entry.category, state.category[i]);
        std::swap(entry.code, state.code[i]);
        std::swap(entry.action, state.action[i]);
    }
    swapList(parts.combos, state.predefinedCombos);
    swapList(parts.macros, state.predefinedMacros);
    swapList(parts.emulations, state.predefinedEmulations);
    if (parts.lights)
        std::swap(*parts.lights, state.lightSettings);
}

bool ConfigHistory::undo(Configuration &state, bool &notWritten)
{
    if (!canUndo())
        return false;
    Step &step = m_steps[--m_done];
    exchange(step.parts, state);
    m_keys = step.keysBefore;
    notWritten = keysDifferFromKeyboard();
    return true;
}

bool ConfigHistory::redo(Configuration &state, bool &notWritten)
{
    if (!canRedo())
        return false;
    Step &step = m_steps[m_done++];
    exchange(step.parts, state);
    m_keys = step.keysAfter;
    notWritten = keysDifferFromKeyboard();
    return true;
}

void ConfigHistory::markKeyboardHolds()
{
    m_keyboardKeys = m_keys;
}

void ConfigHistory::markKeyboardHoldsNone()
{
    // Versions count up from 0 and never reach this.
    m_keyboardKeys = std::numeric_limits<std::uint64_t>::max();
}

void ConfigHistory::reset()
{
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
    m_keyboardKeys = m_keys;
}
