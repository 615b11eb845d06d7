#pragma once

#include <filesystem>

class AppState;

// The same profile read and written with pugixml, as the yardstick for our own document.
// pugixml refuses the parentheses of the real root names, so its files use the root "Profile".
bool pugiWriteProfile(const AppState &state, const std::filesystem::path &path);
bool pugiReadProfile(AppState &state, const std::filesystem::path &path);
