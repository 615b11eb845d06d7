#include "model/KeyMapChange.h"

#include "model/Configuration.h"

void KeyMapChange::applyTo(Configuration &state) const
{
    state.setAssignment(key, layer, assignment);
    if (fnOnBothLayers) {
        KeyAssignment other = state.assignment(key, 1 - layer);
        other.category = KeyAssignment::Function;
        other.code = FnCode;
        state.setAssignment(key, 1 - layer, other);
    }
    switch (list) {
    case List::Combos:
        state.predefinedCombos = listValue;
        break;
    case List::Macros:
        state.predefinedMacros = listValue;
        break;
    case List::Emulations:
        state.predefinedEmulations = listValue;
        break;
    case List::None:
        break;
    }
}
