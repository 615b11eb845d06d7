#pragma once

#include "app/ResourceLocator.h"

#include <filesystem>

// Which document the Help button opens: the compiled guide where the desktop has a viewer for
// it, the same guide as HTML pages otherwise, and nothing, silently, when neither is installed.
class HelpDocument {
public:
    static constexpr const char *CompiledName = "Quillo.chm";
    static constexpr const char *PagesName = "guide/index.html";

    // Empty when there is nothing to open.
    static std::filesystem::path choose(const ResourceLocator &locator, bool desktopShowsCompiled);
    // Whether the desktop has a program registered for compiled help.
    static bool desktopShowsCompiled();
};
