#pragma once

#include <string>

class AppState;

// The one-line text the main window prints on a key: what the key does on that layer.
// Empty for an unassigned key.
std::string assignmentSummary(const AppState &state, int key, int layer);
