#include "keymap/VirtualKeyPicker.h"

#include "layout/ButtonTable.h"
#include "layout/VirtualKeyboardTable.h"
#include "model/KeyCatalogue.h"
#include "model/VirtualKeyPicks.h"

#include <algorithm>

namespace {

// The first key entry standing for a code, or -1.
int keyEntryOf(const ButtonTable &table, int code)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (VirtualKeyboardTable::isKey(table[i].id) && table[i].keyIndex == code)
            return int(i);
    }
    return -1;
}

} // namespace

VirtualKeyPicker::VirtualKeyPicker(const KeyCatalogue &catalogue, VirtualKeyPicks &picks, int mode)
    : m_catalogue(catalogue)
    , m_picks(picks)
    , m_mode(mode)
{}

void VirtualKeyPicker::open(ButtonTable &table)
{
    if (m_mode == SingleKey) {
        const int index = keyEntryOf(table, m_picks.virtualPick);
        if (index >= 0)
            table[std::size_t(index)].checked = true;
    } else if (m_mode == Combination) {
        m_picks.virtualPicks.fill(0);
        m_picks.virtualPickCount = 0;
    }
}

void VirtualKeyPicker::toggle(ButtonTable &table, int index)
{
    if (index < 0 || std::size_t(index) >= table.size()
        || !VirtualKeyboardTable::isKey(table[std::size_t(index)].id))
        return;
    DrawnButton &entry = table[std::size_t(index)];
    entry.checked = !entry.checked;
    if (m_mode == SingleKey)
        toggleSingle(table, index);
    else if (m_mode == Combination)
        toggleCombination(table, index);
}

void VirtualKeyPicker::toggleSingle(ButtonTable &table, int index)
{
    DrawnButton &entry = table[std::size_t(index)];
    // At most one key stays checked: the old pick goes.
    const int old = keyEntryOf(table, m_picks.virtualPick);
    if (old >= 0 && old != index)
        table[std::size_t(old)].checked = false;
    m_picks.virtualPick = entry.checked ? entry.keyIndex : 0;
}

void VirtualKeyPicker::toggleCombination(ButtonTable &table, int index)
{
    DrawnButton &entry = table[std::size_t(index)];
    auto &picks = m_picks.virtualPicks;
    int &count = m_picks.virtualPickCount;
    count = std::clamp(count, 0, MaxPicks);
    if (entry.checked) {
        if (count < MaxPicks)
            picks[std::size_t(count++)] = entry.keyIndex;
        else
            entry.checked = false; // a seventh key is refused
        return;
    }
    // The later picks move up, keeping their order.
    const auto end = picks.begin() + count;
    const auto found = std::find(picks.begin(), end, entry.keyIndex);
    if (found == end)
        return;
    std::copy(found + 1, end, found);
    picks[std::size_t(--count)] = 0;
}

std::string VirtualKeyPicker::text(const std::string &language) const
{
    const bool chinese = language == "zh-CN";
    if (!chinese && language != "en-US")
        return {};
    const KeyCatalogue &catalogue = m_catalogue;
    if (m_mode == SingleKey)
        return (chinese ? "单键：" : "Single:") + catalogue.nameOfCode(m_picks.virtualPick);
    if (m_mode != Combination)
        return {};
    std::string text
        = (chinese ? "组合键：" : "Combo:") + catalogue.nameOfCode(m_picks.virtualPicks[0]);
    const int count = std::clamp(m_picks.virtualPickCount, 0, MaxPicks);
    for (int slot = 1; slot < count; ++slot)
        text += "+" + catalogue.nameOfCode(m_picks.virtualPicks[std::size_t(slot)]);
    return text;
}
