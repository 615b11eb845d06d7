#pragma once

#include <filesystem>

class AppState;

// The same profile read and written with pugixml, as the yardstick for our own document.
// pugixml refuses the parentheses of the real root names, so its files use the root "Profile".
// `durable` flushes the file to the disk before returning, as our own save does.
bool pugiWriteProfile(const AppState &state, const std::filesystem::path &path, bool durable);
bool pugiReadProfile(AppState &state, const std::filesystem::path &path);
