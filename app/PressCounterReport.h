#pragma once

#include <string>

class AppState;

// The text of the main window's report box: the program line, the most and least pressed keys
// and, while the mouse rests on a key, its count and what it does on both layers. Rebuilt from
// AppState at every paint; UTF-8 with CR LF line ends.
class PressCounterReport {
public:
    // Ends with the bare counter label. Empty for a language other than the two known ones.
    static std::string head(const AppState &state);
    // What follows the head for a hovered key 1..108: its count when read, then both layers.
    static std::string keyPart(const AppState &state, int key);
    // The whole text for a hovered key, or the head alone for key 0.
    static std::string text(const AppState &state, int hoveredKey);

private:
    static std::string keyText(int key);
};
