#include "layout/KeySettingsFiller.h"

#include "layout/KeySettingsCodes.h"

namespace KeySettingsTable {
namespace {

constexpr const char *PlaceholderTip = "默认提示";

} // namespace

DrawnButton &Filler::add(int id, const ButtonRect &rect, const char *zh, const char *en)
{
    DrawnButton &entry = m_table[m_slot++];
    entry.id = id;
    entry.rect = rect;
    entry.setCaption(zh, en);
    entry.setTooltip(PlaceholderTip, PlaceholderTip);
    entry.isLabel = kindOf(id) == Kind::Label;
    return entry;
}

void Filler::add(const Cell &cell)
{
    add(cell.id, cell.rect, cell.zh, cell.en).textFormat = cell.format;
}

void Filler::addRows(int firstId, int count, int left, int top, int right, int pitch, int height)
{
    for (int r = 0; r < count; ++r) {
        DrawnButton &row
            = add(firstId + r, {left, top + pitch * r, right, top + pitch * r + height}, "", "");
        row.textOnButton = true;
        row.fontSize = RowFontSize;
        row.textFormat = Left | VerticalCentre;
        row.checkedTextColor = 0xFFFFFF;
    }
}

void Filler::addCodeButton(const KeySettingsCodes::CodeButton &button, const ButtonRect &rect)
{
    DrawnButton &entry = add(button.id, rect, button.zh, button.en);
    entry.setTooltip(button.zh, button.en);
    entry.itemCode = button.code;
}

void Filler::addMediaPage()
{
    int n = 0;
    for (const auto &button : KeySettingsCodes::buttonsOfPage(4)) {
        const bool player = button.id <= 408;
        const int column = player ? n : n - 8;
        const int top = player ? 152 : 235;
        addCodeButton(button, {46 + 50 * column, top, 81 + 50 * column, player ? 188 : 272});
        ++n;
    }
}

void Filler::addMousePage()
{
    const auto buttons = KeySettingsCodes::buttonsOfPage(5);
    const auto rectOf = [](int n) {
        const bool left = n < 7;
        const int row = left ? n : n - 7;
        return ButtonRect{left ? 37 : 154, 114 + 17 * row, left ? 140 : 258, 131 + 17 * row};
    };
    for (std::size_t n = 0; n < buttons.size(); ++n)
        addCodeButton(buttons[n], rectOf(int(n)));
    for (std::size_t n = 0; n < buttons.size(); ++n)
        add(buttons[n].id + 50, rectOf(int(n)), buttons[n].zh, buttons[n].en);
}

void Filler::addFunctionPage(int deviceType)
{
    constexpr int rowTops[4] = {112, 155, 220, 265};
    constexpr int rowFirstIds[4] = {601, 610, 620, 630};
    for (const auto &button : KeySettingsCodes::buttonsOfPage(6)) {
        if (!KeySettingsCodes::offers(button, deviceType)) {
            skip();
            continue;
        }
        int row = 3;
        while (row > 0 && button.id < rowFirstIds[row])
            --row;
        const int n = button.id - rowFirstIds[row];
        const int top = rowTops[row];
        addCodeButton(button, {36 + 53 * n, top, 72 + 53 * n, top + 36});
    }
}

void Filler::addPowerPage()
{
    const auto buttons = KeySettingsCodes::buttonsOfPage(7);
    for (std::size_t n = 0; n < buttons.size(); ++n) {
        const int left = 162 + 89 * int(n);
        addCodeButton(buttons[n], {left, 160, left + 80, 190});
    }
    for (std::size_t n = 0; n < buttons.size(); ++n) {
        const int left = 162 + 89 * int(n);
        add(buttons[n].id + 50, {left, 166, left + 80, 190}, buttons[n].labelZh,
            buttons[n].labelEn);
    }
}

} // namespace KeySettingsTable
