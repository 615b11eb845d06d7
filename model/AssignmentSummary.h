#pragma once

#include <string>

class AppState;
struct ActionList;

// The one-line text the main window prints on a key: what the key does on that layer.
// Empty for an unassigned key.
std::string assignmentSummary(const AppState &state, int key, int layer);
// The same words for an action of a category with steps (2 combination, 3 macro,
// 4 emulation), such as an entry of a predefined list.
std::string actionSummary(int category, const ActionList &action);
