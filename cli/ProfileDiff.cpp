#include "cli/ProfileDiff.h"

#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyAssignment.h"

#include <algorithm>

namespace {

constexpr const char *Arrow = "\t->\t";
constexpr const char *Missing = "-";

bool usesCode(int category)
{
    return category == KeyAssignment::Single || category >= KeyAssignment::Multimedia;
}

bool usesAction(int category)
{
    return category >= KeyAssignment::Combo && category <= KeyAssignment::Emulation;
}

// The same keys and lists also when the steps' repetition or timing differ.
std::string settings(const ActionList &action)
{
    return " [times " + std::to_string(action.times) + ", "
           + (action.autoDelay ? std::string("recorded delays")
                               : "delay " + std::to_string(action.delayMs) + " ms")
           + ", play mode " + std::to_string(action.playMode) + "]";
}

void compareKeys(const AppState &a, const AppState &b, std::vector<std::string> &out)
{
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const auto i = std::size_t(AppState::index(key, layer));
            const int category = a.category[i];
            bool same = category == b.category[i];
            if (same && usesCode(category))
                same = a.code[i] == b.code[i];
            if (same && usesAction(category))
                same = a.action[i].sameAction(b.action[i]);
            if (same)
                continue;
            std::string before = assignmentSummary(a, key, layer);
            std::string after = assignmentSummary(b, key, layer);
            // Words alike: the difference is in how the steps are played.
            if (before == after && usesAction(category)) {
                before += settings(a.action[i]);
                after += settings(b.action[i]);
            }
            out.push_back(std::to_string(key) + '\t' + std::to_string(layer) + '\t'
                          + KeyCatalogue::categoryName(category, false) + '\t' + before + Arrow
                          + KeyCatalogue::categoryName(b.category[i], false) + '\t' + after);
        }
    }
}

std::string colour(const LightColour &c)
{
    return std::to_string(c.red) + ' ' + std::to_string(c.green) + ' ' + std::to_string(c.blue);
}

void compareLights(const AppState &a, const AppState &b, std::vector<std::string> &out)
{
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        const LightColour &before = a.lightSettings[std::size_t(key)];
        const LightColour &after = b.lightSettings[std::size_t(key)];
        if (before != after)
            out.push_back("light\t" + std::to_string(key) + '\t' + colour(before) + Arrow
                          + colour(after));
    }
}

std::string entryText(const ActionList &list, std::size_t i, int category, bool withSettings)
{
    if (i >= list.names.size())
        return Missing;
    const ActionList empty;
    const ActionList &entry = i < list.items.size() ? list.items[i] : empty;
    std::string text = list.names[i] + ": " + actionSummary(category, entry);
    if (withSettings)
        text += settings(entry);
    return text;
}

void compareList(const char *kind, int category, const ActionList &a, const ActionList &b,
                 std::vector<std::string> &out)
{
    const ActionList empty;
    const std::size_t count = std::max(a.names.size(), b.names.size());
    for (std::size_t i = 0; i < count; ++i) {
        const bool inA = i < a.names.size();
        const bool inB = i < b.names.size();
        const ActionList &entryA = inA && i < a.items.size() ? a.items[i] : empty;
        const ActionList &entryB = inB && i < b.items.size() ? b.items[i] : empty;
        if (inA && inB && a.names[i] == b.names[i] && entryA.sameAction(entryB))
            continue;
        std::string before = entryText(a, i, category, false);
        std::string after = entryText(b, i, category, false);
        if (before == after) {
            before = entryText(a, i, category, true);
            after = entryText(b, i, category, true);
        }
        out.push_back(std::string(kind) + '\t' + std::to_string(i + 1) + '\t' + before + Arrow
                      + after);
    }
}

} // namespace

namespace ProfileDiff {

std::vector<std::string> lines(const AppState &a, const AppState &b)
{
    std::vector<std::string> out;
    compareKeys(a, b, out);
    compareLights(a, b, out);
    compareList("combo", KeyAssignment::Combo, a.predefinedCombos, b.predefinedCombos, out);
    compareList("macro", KeyAssignment::Macro, a.predefinedMacros, b.predefinedMacros, out);
    compareList("emulation", KeyAssignment::Emulation, a.predefinedEmulations,
                b.predefinedEmulations, out);
    return out;
}

} // namespace ProfileDiff
