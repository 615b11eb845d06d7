#include "model/Configuration.h"

#include "model/KeyCatalogue.h"

namespace {

bool validKey(int key, int layer)
{
    return key >= 1 && key <= Configuration::KeyCount && (layer == 0 || layer == 1);
}

} // namespace

KeyAssignment Configuration::assignment(int key, int layer) const
{
    if (!validKey(key, layer))
        return {};
    const std::size_t i = std::size_t(index(key, layer));
    return {category[i], code[i], action[i]};
}

void Configuration::setAssignment(int key, int layer, const KeyAssignment &value)
{
    if (!validKey(key, layer))
        return;
    const std::size_t i = std::size_t(index(key, layer));
    category[i] = value.category;
    code[i] = value.code;
    action[i] = value.action;
}

void Configuration::reset(int deviceType)
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
