#pragma once

#include "model/ActionList.h"
#include "model/KeyAssignment.h"

class KeyCatalogue;

// What the key settings dialog opens with: which key on which layer of which keyboard, what
// the key does now, and the three predefined lists it chooses from (copied when it opens).
struct KeySettingsInput {
    const KeyCatalogue &catalogue;
    int deviceType = 0;
    int key = 0;
    int layer = 0;
    KeyAssignment assignment;
    const ActionList &combos;
    const ActionList &macros;
    const ActionList &emulations;
};
