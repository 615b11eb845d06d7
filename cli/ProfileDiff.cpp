#include "cli/ProfileDiff.h"

#include "cli/TerminalText.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyAssignment.h"

#include <algorithm>

namespace {

using ProfileDiff::Difference;

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

void compareKeys(const AppState &a, const AppState &b, std::vector<Difference> &out)
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
            Difference difference;
            difference.number = key;
            difference.layer = layer;
            difference.categoryBefore = category;
            difference.categoryAfter = b.category[i];
            difference.before = assignmentSummary(a, key, layer);
            difference.after = assignmentSummary(b, key, layer);
            // Words alike: the difference is in how the steps are played.
            if (difference.before == difference.after && usesAction(category)) {
                difference.before += settings(a.action[i]);
                difference.after += settings(b.action[i]);
            }
            out.push_back(std::move(difference));
        }
    }
}

std::string colour(const LightColour &c)
{
    return std::to_string(c.red) + ' ' + std::to_string(c.green) + ' ' + std::to_string(c.blue);
}

void compareLights(const AppState &a, const AppState &b, std::vector<Difference> &out)
{
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        const LightColour &before = a.lightSettings[std::size_t(key)];
        const LightColour &after = b.lightSettings[std::size_t(key)];
        if (before == after)
            continue;
        Difference difference;
        difference.kind = Difference::Kind::Light;
        difference.number = key;
        difference.colourBefore = before;
        difference.colourAfter = after;
        out.push_back(difference);
    }
}

std::string entryWords(const ActionList &list, std::size_t i, int category, bool withSettings)
{
    const ActionList empty;
    const ActionList &entry = i < list.items.size() ? list.items[i] : empty;
    std::string text = actionSummary(category, entry);
    if (withSettings)
        text += settings(entry);
    return text;
}

void compareList(Difference::Kind kind, int category, const ActionList &a, const ActionList &b,
                 std::vector<Difference> &out)
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
        Difference difference;
        difference.kind = kind;
        difference.number = int(i + 1);
        difference.inBefore = inA;
        difference.inAfter = inB;
        difference.nameBefore = inA ? a.names[i] : "";
        difference.nameAfter = inB ? b.names[i] : "";
        difference.before = inA ? entryWords(a, i, category, false) : "";
        difference.after = inB ? entryWords(b, i, category, false) : "";
        if (inA && inB && difference.nameBefore == difference.nameAfter
            && difference.before == difference.after) {
            difference.before = entryWords(a, i, category, true);
            difference.after = entryWords(b, i, category, true);
        }
        out.push_back(std::move(difference));
    }
}

std::string entryText(bool present, const std::string &name, const std::string &words)
{
    return present ? TerminalText::escaped(name + ": " + words) : Missing;
}

} // namespace

namespace ProfileDiff {

std::vector<Difference> differences(const AppState &a, const AppState &b)
{
    std::vector<Difference> out;
    compareKeys(a, b, out);
    compareLights(a, b, out);
    compareList(Difference::Kind::Combo, KeyAssignment::Combo, a.predefinedCombos,
                b.predefinedCombos, out);
    compareList(Difference::Kind::Macro, KeyAssignment::Macro, a.predefinedMacros,
                b.predefinedMacros, out);
    compareList(Difference::Kind::Emulation, KeyAssignment::Emulation, a.predefinedEmulations,
                b.predefinedEmulations, out);
    return out;
}

const char *kindName(Difference::Kind kind)
{
    switch (kind) {
    case Difference::Kind::Key:
        return "key";
    case Difference::Kind::Light:
        return "light";
    case Difference::Kind::Combo:
        return "combo";
    case Difference::Kind::Macro:
        return "macro";
    case Difference::Kind::Emulation:
        return "emulation";
    }
    return "";
}

std::string line(const Difference &d)
{
    switch (d.kind) {
    case Difference::Kind::Key:
        return std::to_string(d.number) + '\t' + std::to_string(d.layer) + '\t'
               + KeyCatalogue::categoryName(d.categoryBefore, false) + '\t'
               + TerminalText::escaped(d.before) + Arrow
               + KeyCatalogue::categoryName(d.categoryAfter, false) + '\t'
               + TerminalText::escaped(d.after);
    case Difference::Kind::Light:
        return "light\t" + std::to_string(d.number) + '\t' + colour(d.colourBefore) + Arrow
               + colour(d.colourAfter);
    default:
        return std::string(kindName(d.kind)) + '\t' + std::to_string(d.number) + '\t'
               + entryText(d.inBefore, d.nameBefore, d.before) + Arrow
               + entryText(d.inAfter, d.nameAfter, d.after);
    }
}

} // namespace ProfileDiff
