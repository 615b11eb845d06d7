#pragma once

#include <string>

class FontTable;

// What every skinned window reads of the program around it: the language and the scale
// factor as they are now (held by the program's state, so that a switch of language reaches
// the windows already open) and the fonts all windows share. Windows get their faces from
// whoever opens them.
struct DialogContext {
    const std::string &language;
    const float &scaleFactor;
    const FontTable &fonts;

    bool chinese() const { return language == "zh-CN"; }
};
