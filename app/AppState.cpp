#include "app/AppState.h"

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
