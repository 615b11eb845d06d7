#pragma once

#include "model/ActionList.h"
#include "model/KeyAssignment.h"

struct Configuration;

// What OK in the key settings dialog changes: one key's assignment on one layer, the FN rule's
// other layer, and the predefined list of the page that was showing. Applying it is the one
// place where the dialog's result reaches the configuration.
struct KeyMapChange {
    enum class List { None, Combos, Macros, Emulations };
    // The keyboard's FN key, which the FN rule puts on the other layer too.
    static constexpr int FnCode = 156;

    int key = 0;
    int layer = 0;
    KeyAssignment assignment;
    bool fnOnBothLayers = false; // the other layer becomes FN too
    List list = List::None;
    ActionList listValue;

    void applyTo(Configuration &configuration) const;
};
