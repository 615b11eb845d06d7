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

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

std::string document(const QJsonObject &object)
{
    return TerminalText::jsonWithoutControls(
        QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString());
}

QJsonObject model(int variant)
{
    return {{"variant", variant}, {"model", KeyboardModel::name(variant)}};
}

QJsonObject actionOf(const ActionList &action)
{
    QJsonArray steps;
    for (const std::string &step : action.names)
        steps.append(text(step));
    return {{"steps", steps},
            {"times", action.times},
            {"autoDelay", action.autoDelay},
            {"delayMs", action.delayMs},
            {"playMode", action.playMode}};
}

QJsonObject keyOf(const AppState &state, int key)
{
    return {{"key", key}, {"name", text(CliKeyNames::keyName(state.catalogue, key))}};
}

QJsonObject assignmentOf(const AppState &state, int key, int layer)
{
    const KeyAssignment assignment = state.assignment(key, layer);
    QJsonObject object = keyOf(state, key);
    object["layer"] = layer;
    object["layerName"] = layer == 0 ? "top" : "fn";
    object["category"] = assignment.category;
    object["categoryName"] = KeyCatalogue::categoryName(assignment.category, false);
    object["summary"] = text(assignmentSummary(state, key, layer));
    if (assignment.category == KeyAssignment::Single
        || assignment.category >= KeyAssignment::Multimedia)
        object["code"] = assignment.code;
    else if (assignment.category >= KeyAssignment::Combo)
        object["action"] = actionOf(assignment.action);
    return object;
}

QJsonObject colourOf(const LightColour &colour)
{
    return {{"colour", text(LightEdit::colourText(colour))},
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
                                   {"name", text(list.names[i])},
                                   {"summary", text(actionSummary(category, entry))},
                                   {"action", actionOf(entry)}});
    }
    return entries;
}

QJsonObject differenceOf(const AppState &state, const Difference &d)
{
    QJsonObject object;
    switch (d.kind) {
    case Difference::Kind::Key:
        object = keyOf(state, d.number);
        object["kind"] = "key";
        object["layer"] = d.layer;
        object["before"]
            = QJsonObject{{"category", d.categoryBefore},
                          {"categoryName", KeyCatalogue::categoryName(d.categoryBefore, false)},
                          {"summary", text(d.before)}};
        object["after"]
            = QJsonObject{{"category", d.categoryAfter},
                          {"categoryName", KeyCatalogue::categoryName(d.categoryAfter, false)},
                          {"summary", text(d.after)}};
        break;
    case Difference::Kind::Light:
        object = keyOf(state, d.number);
        object["kind"] = "light";
        object["before"] = colourOf(d.colourBefore);
        object["after"] = colourOf(d.colourAfter);
        break;
    default: {
        const auto side
            = [](bool present, const std::string &name, const std::string &words) -> QJsonValue {
            if (!present)
                return QJsonValue::Null;
            return QJsonObject{{"name", text(name)}, {"summary", text(words)}};
        };
        object["entry"] = d.number;
        object["before"] = side(d.inBefore, d.nameBefore, d.before);
        object["after"] = side(d.inAfter, d.nameAfter, d.after);
        object["kind"] = ProfileDiff::kindName(d.kind);
        break;
    }
    }
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

std::string detect(int variant)
{
    return document(variant == 0 ? QJsonObject{{"variant", 0}, {"model", QJsonValue::Null}}
                                 : model(variant));
}

std::string version(const std::string &versionText)
{
    return document({{"version", text(versionText)}});
}

std::string show(const AppState &state)
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
    return document(object);
}

std::string diff(const AppState &a, const std::vector<Difference> &differences)
{
    QJsonArray list;
    for (const Difference &difference : differences)
        list.append(differenceOf(a, difference));
    QJsonObject object = model(a.deviceType);
    object["equal"] = differences.empty();
    object["differences"] = list;
    return document(object);
}

std::string counters(const AppState &state)
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
    return document(object);
}

} // namespace JsonReport
