#pragma once

#include "app/ResourceLocator.h"

#include <QString>

#include <filesystem>

// Which document the Help button opens: in Chinese the guide's Chinese pages where they are
// installed; otherwise the compiled guide where the desktop has a viewer for it, the same guide
// as HTML pages otherwise, and nothing, silently, when neither is installed.
class HelpDocument {
public:
    static constexpr const char *CompiledName = "Quillo.chm";
    static constexpr const char *PagesName = "guide/index.html";
    static constexpr const char *ChinesePagesName = "guide/zh-CN/index.html";

    // Empty when there is nothing to open.
    static std::filesystem::path choose(const ResourceLocator &locator, bool desktopShowsCompiled,
                                        bool chinese);
    // Whether the desktop has a program registered for compiled help.
    static bool desktopShowsCompiled();
    // What Help says when nothing on the computer opens the guide at `path`.
    static QString cannotOpen(const QString &path, bool chinese);
};
