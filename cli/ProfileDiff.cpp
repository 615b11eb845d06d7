#include "cli/ProfileDiff.h"

#include "cli/ActionDifference.h"
#include "cli/TerminalText.h"
#include "jobs/KeyConfigCodec.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyAssignment.h"
#include "model/KeyboardModel.h"

#include <algorithm>

namespace {

using ProfileDiff::Difference;

constexpr const char *Arrow = "\t->\t";
constexpr const char *Missing = "-";
constexpr const char *SameOnKeyboard = "\t(same on the keyboard)";

bool usesCode(int category)
{
    return category == KeyAssignment::Single || category >= KeyAssignment::Multimedia;
}

bool usesAction(int category)
{
    return category >= KeyAssignment::Combo && category <= KeyAssignment::Emulation;
}

bool sameAssignment(const KeyAssignment &a, const KeyAssignment &b)
{
    if (a.category != b.category)
        return false;
    if (usesCode(a.category))
        return a.code == b.code;
    if (usesAction(a.category))
        return a.action.sameAction(b.action);
    return true;
}

// The assignment as the keyboard gives it back once written: steps without Down or UP, a
// recorded macro without its unused delay, a one-key combination as a single key. One the
// keyboard cannot take, or would misread, stays as it is.
KeyAssignment asKeyboardKeeps(const KeyCatalogue &catalogue, const KeyAssignment &assignment)
{
    std::vector<int> array;
    switch (KeyConfigCodec::encode(catalogue, assignment, array)) {
    case KeyConfigCodec::Encoded::Invalid:
    case KeyConfigCodec::Encoded::Misread:
        return assignment;
    case KeyConfigCodec::Encoded::Empty:
        return {};
    case KeyConfigCodec::Encoded::Set:
        break;
    }
    return KeyConfigCodec::decode(catalogue, array.data(), int(array.size()), assignment);
}

void compareKeys(const AppState &a, const AppState &b, std::vector<Difference> &out)
{
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const KeyAssignment before = a.assignment(key, layer);
            const KeyAssignment after = b.assignment(key, layer);
            if (sameAssignment(before, after))
                continue;
            Difference difference;
            difference.number = key;
            difference.layer = layer;
            difference.categoryBefore = before.category;
            difference.categoryAfter = after.category;
            difference.before = assignmentSummary(a, key, layer);
            difference.after = assignmentSummary(b, key, layer);
            if (before.category == after.category && usesAction(before.category)) {
                const auto details
                    = ActionDifference::describe(before.category, before.action, after.action,
                                                 difference.before != difference.after);
                if (!details.before.empty()) {
                    difference.before += ' ' + details.before;
                    difference.after += ' ' + details.after;
                }
            }
            difference.sameOnKeyboard = sameAssignment(asKeyboardKeeps(a.catalogue, before),
                                                       asKeyboardKeeps(a.catalogue, after));
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
        difference.sameOnKeyboard = !KeyboardModel::hasKeyColours(a.deviceType);
        out.push_back(difference);
    }
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
        difference.before = inA ? actionSummary(category, entryA) : "";
        difference.after = inB ? actionSummary(category, entryB) : "";
        if (inA && inB) {
            const auto details = ActionDifference::describe(category, entryA, entryB,
                                                            difference.before != difference.after);
            if (!details.before.empty()) {
                difference.before += ' ' + details.before;
                difference.after += ' ' + details.after;
            }
        }
        // The lists stay in the profile.
        difference.sameOnKeyboard = true;
        out.push_back(std::move(difference));
    }
}

std::string entryText(bool present, const std::string &name, const std::string &words)
{
    return present ? TerminalText::escaped(name + ": " + words) : Missing;
}

} // namespace

namespace ProfileDiff {

std::vector<Difference> differences(const AppState &a, const AppState &b, bool keyboardOnly)
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
    if (keyboardOnly)
        std::erase_if(out, [](const Difference &d) { return d.sameOnKeyboard; });
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
    std::string text;
    switch (d.kind) {
    case Difference::Kind::Key:
        text = std::to_string(d.number) + '\t' + std::to_string(d.layer) + '\t'
               + KeyCatalogue::categoryName(d.categoryBefore, false) + '\t'
               + TerminalText::escaped(d.before) + Arrow
               + KeyCatalogue::categoryName(d.categoryAfter, false) + '\t'
               + TerminalText::escaped(d.after);
        break;
    case Difference::Kind::Light:
        text = "light\t" + std::to_string(d.number) + '\t' + colour(d.colourBefore) + Arrow
               + colour(d.colourAfter);
        break;
    default:
        text = std::string(kindName(d.kind)) + '\t' + std::to_string(d.number) + '\t'
               + entryText(d.inBefore, d.nameBefore, d.before) + Arrow
               + entryText(d.inAfter, d.nameAfter, d.after);
        break;
    }
    return d.sameOnKeyboard ? text + SameOnKeyboard : text;
}

} // namespace ProfileDiff
