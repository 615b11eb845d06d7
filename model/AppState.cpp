#include "app/AppState.h"

void PressCounters::updateExtremes()
{
    int highest = 1;
    int lowest = 1;
    for (int key = 2; key < int(counts.size()); ++key) {
        const int count = counts[std::size_t(key)];
        if (count > counts[std::size_t(highest)])
            highest = key;
        if (count > 0 && (count < counts[std::size_t(lowest)] || counts[std::size_t(lowest)] <= 0))
            lowest = key;
    }
    highestKey = counts[std::size_t(highest)] > 0 ? highest : -1;
    lowestKey = counts[std::size_t(lowest)] > 0 ? lowest : -1;
}

void AppState::buildCatalogue()
{
    catalogue.build();
    language = "zh-CN";
}

void AppState::resetKeyModel()
{
    predefinedMacros = ActionList(9);
    predefinedCombos = ActionList(6);
    predefinedEmulations = ActionList(9);

    for (int key = 0; key <= KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const int i = index(key, layer);
            code[std::size_t(i)] = KeyCatalogue::defaultCode(deviceType, key, layer);
            category[std::size_t(i)] = KeyCatalogue::categoryOfCode(code[std::size_t(i)]);
            action[std::size_t(i)].clear();
        }
    }
    lightSettings.fill(LightColour{});
}

namespace {

bool validKey(int key, int layer)
{
    return key >= 1 && key <= AppState::KeyCount && (layer == 0 || layer == 1);
}

} // namespace

KeyAssignment AppState::assignment(int key, int layer) const
{
    if (!validKey(key, layer))
        return {};
    const std::size_t i = std::size_t(index(key, layer));
    return {category[i], code[i], action[i]};
}

void AppState::setAssignment(int key, int layer, const KeyAssignment &value)
{
    if (!validKey(key, layer))
        return;
    const std::size_t i = std::size_t(index(key, layer));
    category[i] = value.category;
    code[i] = value.code;
    action[i] = value.action;
}
