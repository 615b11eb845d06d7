#include "layout/BacklightTable.h"

#include "layout/MainWindowTable.h"

#include <quillodev/KeyCounts.h>

#include <array>

namespace BacklightTable {
namespace {

struct KeyCell {
    short left, top, right, bottom;
};

// Keys 1..108 in key-number order; their captions and names are the main window's. Keys lie 4
// pixels apart, so that the frames of two neighbours (2 pixels each) fill the gap between them.
constexpr std::array<KeyCell, quillodev::KeyCount> keys{{
    {113, 105, 157, 150},   {205, 105, 247, 150},   {251, 105, 293, 150},
    {297, 105, 339, 150},   {343, 105, 385, 150},   {411, 105, 453, 150},
    {457, 105, 499, 150},   {503, 105, 545, 150},   {549, 105, 591, 150},
    {617, 105, 659, 150},   {663, 105, 705, 150},   {709, 105, 751, 150},
    {755, 105, 797, 150},   {113, 161, 155, 204}, // 14
    {159, 161, 201, 204},   {205, 161, 247, 204},   {251, 161, 293, 204},
    {297, 161, 339, 204},   {343, 161, 385, 204},   {389, 161, 431, 204},
    {435, 161, 476, 204},   {480, 161, 521, 204},   {525, 161, 567, 204},
    {571, 161, 613, 204},   {617, 161, 659, 204},   {663, 161, 705, 204},
    {709, 161, 797, 204},   {113, 208, 180, 251}, // 28
    {184, 208, 226, 251},   {230, 208, 272, 251},   {276, 208, 318, 251},
    {322, 208, 364, 251},   {368, 208, 410, 251},   {414, 208, 456, 251},
    {460, 208, 502, 251},   {506, 208, 548, 251},   {552, 208, 594, 251},
    {598, 208, 640, 251},   {644, 208, 686, 251},   {690, 208, 732, 251},
    {736, 208, 797, 251},   {113, 255, 196, 298}, // 42
    {200, 255, 242, 298},   {246, 255, 288, 298},   {292, 255, 334, 298},
    {338, 255, 380, 298},   {384, 255, 426, 298},   {430, 255, 472, 298},
    {476, 255, 518, 298},   {522, 255, 564, 298},   {568, 255, 610, 298},
    {614, 255, 656, 298},   {660, 255, 702, 298},   {706, 255, 797, 298},
    {113, 302, 222, 345}, // 55
    {226, 302, 268, 345},   {272, 302, 314, 345},   {318, 302, 360, 345},
    {364, 302, 406, 345},   {410, 302, 452, 345},   {456, 302, 498, 345},
    {502, 302, 544, 345},   {548, 302, 590, 345},   {594, 302, 636, 345},
    {640, 302, 682, 345},   {686, 302, 797, 345},   {113, 349, 166, 395}, // 67
    {170, 349, 223, 395},   {227, 349, 280, 395},   {284, 349, 573, 395},
    {577, 349, 629, 395},   {633, 349, 685, 395},   {689, 349, 741, 395},
    {745, 349, 797, 395},   {810, 105, 853, 150},                         // 75
    {857, 105, 900, 150},   {904, 105, 947, 150},   {810, 161, 853, 204}, // 78
    {857, 161, 900, 204},   {904, 161, 947, 204},   {810, 208, 853, 251}, // 81
    {857, 208, 900, 251},   {904, 208, 947, 251},   {857, 302, 900, 345}, // 84
    {810, 349, 853, 394},   {857, 349, 900, 394},   {904, 349, 947, 394},
    {956, 105, 999, 150}, // 88
    {1003, 105, 1046, 150}, {1050, 105, 1093, 150}, {1097, 105, 1140, 150},
    {956, 161, 999, 204}, // 92
    {1003, 161, 1046, 204}, {1050, 161, 1093, 204}, {1097, 161, 1140, 204},
    {956, 208, 999, 251}, // 96
    {1003, 208, 1046, 251}, {1050, 208, 1093, 251}, {1097, 208, 1140, 298},
    {956, 255, 999, 298},                                                  // 100
    {1003, 255, 1046, 298}, {1050, 255, 1093, 298}, {956, 302, 999, 345},  // 103
    {1003, 302, 1046, 345}, {1050, 302, 1093, 345}, {956, 349, 1046, 392}, // 106
    {1050, 349, 1093, 392}, {1097, 302, 1140, 392},
}};
static_assert(keys.back().right != 0, "every one of the 108 keys is listed");

// The key after which the table leaves one slot empty.
constexpr int KeyBeforeGap = 89;

struct ButtonCell {
    int id;
    const char *zh;
    const char *en;
    const char *buttonEn; // the image button's English caption, where it differs
    ButtonRect button;
    ButtonRect label;
};

constexpr ButtonCell buttons[] = {
    {CloseButton,
     "背光设置面板",
     "BackLight Settings",
     nullptr,
     {1218, 12, 1238, 37},
     {550, 13, 702, 45}},
    {ReadButton, "读取背光", "Read", nullptr, {516, 420, 601, 454}, {521, 428, 603, 454}},
    {DefaultButton, "恢复默认", "Default", nullptr, {223, 420, 308, 454}, {228, 428, 310, 454}},
    {WriteButton, "写入背光", "Write", nullptr, {614, 420, 699, 454}, {619, 428, 701, 454}},
    {CancelButton, "取消", "Cancel", nullptr, {809, 420, 894, 454}, {814, 428, 896, 454}},
    {OkButton, "确定", "OK", nullptr, {712, 420, 797, 454}, {717, 428, 799, 454}},
    {SetAllButton, "全域设置", "Set All", nullptr, {321, 420, 406, 454}, {326, 428, 408, 454}},
    {MultiKeyButton,
     "多键设置",
     "Multi Key",
     "MultiKey",
     {419, 420, 504, 454},
     {424, 428, 506, 454}},
};

constexpr const char *Tip = "tip";

} // namespace

ButtonRect keyRect(int key)
{
    if (key < 1 || key > int(keys.size()))
        return {};
    const KeyCell &cell = keys[std::size_t(key - 1)];
    return {cell.left, cell.top, cell.right, cell.bottom};
}

void placeKeys(std::vector<DrawnButton> &table, std::size_t first)
{
    std::size_t slot = first;
    for (int key = 1; key <= int(keys.size()) && slot < table.size(); ++key, ++slot) {
        DrawnButton &entry = table[slot];
        entry.id = FirstKey - 1 + key;
        entry.keyIndex = key;
        const char *caption = MainWindowTable::keyCaption(key);
        entry.setCaption(caption, caption);
        entry.tooltips["zh-CN"] = MainWindowTable::keyName(key);
        entry.rect = keyRect(key);
        if (key == KeyBeforeGap)
            ++slot;
    }
}

std::vector<DrawnButton> build()
{
    std::vector<DrawnButton> table(EntryCount);
    constexpr std::size_t count = std::size(buttons);
    for (std::size_t i = 0; i < count; ++i) {
        const ButtonCell &cell = buttons[i];
        DrawnButton &button = table[i];
        button.id = cell.id;
        // The close mark carries no caption.
        if (cell.id != CloseButton)
            button.setCaption(cell.zh, cell.buttonEn ? cell.buttonEn : cell.en);
        else
            button.setCaption("", "");
        button.tooltips["zh-CN"] = Tip;
        button.rect = cell.button;

        DrawnButton &label = table[count + i];
        label.id = cell.id;
        label.setCaption(cell.zh, cell.en);
        label.tooltips["zh-CN"] = Tip;
        label.rect = cell.label;
        label.isLabel = true;
    }
    placeKeys(table, FirstKeySlot);
    return table;
}

} // namespace BacklightTable
