#pragma once

#include "model/ActionList.h"

// What one key does on one layer. `code` serves the single-code categories (1, 5..8),
// `action` the combination, macro and emulation (2..4).
struct KeyAssignment {
    enum Category {
        NotSet = 0,
        Single = 1,
        Combo = 2,
        Macro = 3,
        Emulation = 4,
        Multimedia = 5,
        Mouse = 6,
        Function = 7,
        Power = 8,
    };

    int category = NotSet;
    int code = 0;
    ActionList action;
};
