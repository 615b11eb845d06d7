#pragma once

#include "keymap/KeySettingsInput.h"
#include "model/AppState.h"

// What the key settings dialog gets when the main window opens it for the state's current
// key on its current layer.
inline KeySettingsInput keySettingsInput(const AppState &state)
{
    const int layer = state.currentLayer == 1 ? 1 : 0;
    return {state.catalogue,
            state.deviceType,
            state.currentKey,
            layer,
            state.assignment(state.currentKey, layer),
            state.predefinedCombos,
            state.predefinedMacros,
            state.predefinedEmulations};
}
