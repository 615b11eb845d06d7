#pragma once

#include <string>

class ButtonTable;
class KeyCatalogue;
struct VirtualKeyPicks;

// What the virtual keyboard's clicks pick: one key (mode 1) or up to six in order (mode 2),
// exchanged as device codes through the picks it is given. The key entries' checked state shows the
// pick.
class VirtualKeyPicker {
public:
    enum Mode : int { SingleKey = 1, Combination = 2 };
    static constexpr int MaxPicks = 6;

    VirtualKeyPicker(const KeyCatalogue &catalogue, VirtualKeyPicks &picks, int mode);

    int mode() const { return m_mode; }
    void setMode(int mode) { m_mode = mode; }
    // Mode 1 checks the key of the preselected code; mode 2 starts with no picks.
    void open(ButtonTable &table);
    // A key entry was clicked.
    void toggle(ButtonTable &table, int index);
    // "Single:..." or "Combo:..." in the language; empty for other modes and languages.
    std::string text(const std::string &language) const;

private:
    void toggleSingle(ButtonTable &table, int index);
    void toggleCombination(ButtonTable &table, int index);

    const KeyCatalogue &m_catalogue;
    VirtualKeyPicks &m_picks;
    int m_mode;
};
