#include "cli/JsonReport.h"

#include "cli/CliKeyNames.h"
#include "cli/LightEdit.h"
#include "cli/TerminalText.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyboardModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using ProfileDiff::Difference;

QString qText(const std::string &value)
{
    return QString::fromStdString(value);
}

QJsonObject actionOf(const ActionList &action)
{
    QJsonArray steps;
    for (const std::string &step : action.names)
        steps.append(qText(step));
    return {{"steps", steps},
            {"times", action.times},
            {"autoDelay", action.autoDelay},
            {"delayMs", action.delayMs},
            {"playMode", action.playMode}};
}

QJsonObject keyOf(const AppState &state, int key)
{
    return {{"key", key}, {"name", qText(CliKeyNames::keyName(state.catalogue, key))}};
}

bool hasAction(int category)
{
    return category >= KeyAssignment::Combo && category <= KeyAssignment::Emulation;
}

// What a key does on one layer, whole: the category, the code the profile keeps for every
// category, and the steps with their settings where there are any.
QJsonObject doingOf(const AppState &state, int key, int layer)
{
    const KeyAssignment assignment = state.assignment(key, layer);
    QJsonObject object{{"category", assignment.category},
                       {"categoryName", KeyCatalogue::categoryName(assignment.category, false)},
                       {"code", assignment.code},
                       {"summary", qText(assignmentSummary(state, key, layer))}};
    if (hasAction(assignment.category))
        object["action"] = actionOf(assignment.action);
    return object;
}

QJsonObject assignmentOf(const AppState &state, int key, int layer)
{
    QJsonObject object = keyOf(state, key);
    object["layer"] = layer;
    object["layerName"] = layer == 0 ? "top" : "fn";
    const QJsonObject doing = doingOf(state, key, layer);
    for (auto it = doing.begin(); it != doing.end(); ++it)
        object[it.key()] = it.value();
    return object;
}

QJsonObject colourOf(const LightColour &colour)
{
    return {{"colour", qText(LightEdit::colourText(colour))},
            {"red", colour.red},
            {"green", colour.green},
            {"blue", colour.blue}};
}

QJsonArray entriesOf(const ActionList &list, int category)
{
    QJsonArray entries;
    const ActionList empty;
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        const ActionList &entry = i < list.items.size() ? list.items[i] : empty;
        entries.append(QJsonObject{{"entry", int(i + 1)},
                                   {"name", qText(list.names[i])},
                                   {"summary", qText(actionSummary(category, entry))},
                                   {"action", actionOf(entry)}});
    }
    return entries;
}

// One side of a list entry: its name and its steps whole, or null where the side has none.
QJsonValue entrySide(const ActionList &list, std::size_t i, int category)
{
    if (i >= list.names.size())
        return QJsonValue::Null;
    const ActionList empty;
    const ActionList &entry = i < list.items.size() ? list.items[i] : empty;
    return QJsonObject{{"name", qText(list.names[i])},
                       {"summary", qText(actionSummary(category, entry))},
                       {"action", actionOf(entry)}};
}

const ActionList &listOf(const AppState &state, Difference::Kind kind)
{
    switch (kind) {
    case Difference::Kind::Macro:
        return state.predefinedMacros;
    case Difference::Kind::Emulation:
        return state.predefinedEmulations;
    default:
        return state.predefinedCombos;
    }
}

int categoryOf(Difference::Kind kind)
{
    switch (kind) {
    case Difference::Kind::Macro:
        return KeyAssignment::Macro;
    case Difference::Kind::Emulation:
        return KeyAssignment::Emulation;
    default:
        return KeyAssignment::Combo;
    }
}

QJsonObject differenceOf(const AppState &a, const AppState &b, const Difference &d)
{
    QJsonObject object;
    switch (d.kind) {
    case Difference::Kind::Key:
        object = keyOf(a, d.number);
        object["layer"] = d.layer;
        object["before"] = doingOf(a, d.number, d.layer);
        object["after"] = doingOf(b, d.number, d.layer);
        break;
    case Difference::Kind::Light:
        object = keyOf(a, d.number);
        object["before"] = colourOf(d.colourBefore);
        object["after"] = colourOf(d.colourAfter);
        break;
    default: {
        const auto i = std::size_t(d.number - 1);
        object["entry"] = d.number;
        object["before"] = entrySide(listOf(a, d.kind), i, categoryOf(d.kind));
        object["after"] = entrySide(listOf(b, d.kind), i, categoryOf(d.kind));
        break;
    }
    }
    object["kind"] = ProfileDiff::kindName(d.kind);
    object["sameOnKeyboard"] = d.sameOnKeyboard;
    return object;
}

QJsonValue extremeOf(const AppState &state, int key)
{
    if (key < 1 || key > AppState::KeyCount)
        return QJsonValue::Null;
    QJsonObject object = keyOf(state, key);
    object["caption"] = MainWindowTable::keyCaption(key);
    return object;
}

} // namespace

namespace JsonReport {

QJsonObject model(int variant)
{
    if (variant == 0)
        return {{"variant", 0}, {"model", QJsonValue::Null}};
    return {{"variant", variant}, {"model", KeyboardModel::name(variant)}};
}

QJsonObject detect(int variant)
{
    return model(variant);
}

QJsonObject version(int variant, const std::string &versionText)
{
    QJsonObject object = model(variant);
    object["version"] = qText(versionText);
    return object;
}

QJsonObject show(const AppState &state)
{
    QJsonObject object = model(state.deviceType);
    QJsonArray keys;
    QJsonArray lights;
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer)
            keys.append(assignmentOf(state, key, layer));
        QJsonObject light = keyOf(state, key);
        const QJsonObject colour = colourOf(state.lightSettings[std::size_t(key)]);
        for (auto it = colour.begin(); it != colour.end(); ++it)
            light[it.key()] = it.value();
        lights.append(light);
    }
    object["keys"] = keys;
    object["lights"] = lights;
    object["combos"] = entriesOf(state.predefinedCombos, KeyAssignment::Combo);
    object["macros"] = entriesOf(state.predefinedMacros, KeyAssignment::Macro);
    object["emulations"] = entriesOf(state.predefinedEmulations, KeyAssignment::Emulation);
    return object;
}

QJsonObject diff(const AppState &a, const AppState &b, const std::vector<Difference> &differences)
{
    QJsonArray list;
    for (const Difference &difference : differences)
        list.append(differenceOf(a, b, difference));
    QJsonObject object = model(a.deviceType);
    object["equal"] = differences.empty();
    object["differences"] = list;
    return object;
}

QJsonObject counters(const AppState &state)
{
    const PressCounters &counters = state.pressCounters;
    QJsonObject object = model(state.deviceType);
    object["highest"] = extremeOf(state, counters.highestKey);
    object["lowest"] = extremeOf(state, counters.lowestKey);
    QJsonArray counts;
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        QJsonObject entry = keyOf(state, key);
        entry["count"] = counters.counts[std::size_t(key)];
        counts.append(entry);
    }
    object["counts"] = counts;
    return object;
}

QJsonObject answer(const std::string &command, int variant)
{
    QJsonObject object = model(variant);
    object["command"] = qText(command);
    return object;
}

QJsonObject failure(const std::string &command, const std::string &message, int status)
{
    QJsonObject object{{"error", qText(message)}, {"status", status}};
    if (!command.empty())
        object["command"] = qText(command);
    return object;
}

std::string text(QJsonObject document, const std::vector<std::string> &notes)
{
    if (!notes.empty()) {
        QJsonArray list;
        for (const std::string &note : notes)
            list.append(qText(note));
        document["notes"] = list;
    }
    return TerminalText::jsonWithoutControls(
        QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString());
}

} // namespace JsonReport
