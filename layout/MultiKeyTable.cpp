#include "layout/MultiKeyTable.h"

#include "layout/BacklightTable.h"

namespace MultiKeyTable {

std::vector<DrawnButton> build()
{
    std::vector<DrawnButton> table(EntryCount);
    const auto set = [&](std::size_t slot, int id, const char *zh, const char *en, ButtonRect rect,
                         bool label) {
        DrawnButton &entry = table[slot];
        entry.id = id;
        entry.setCaption(zh, en);
        entry.tooltips["zh-CN"] = "tip";
        entry.rect = rect;
        entry.isLabel = label;
    };
    set(0, CloseButton, "", "", {1205, 9, 1238, 45}, false);
    set(1, SetColorButton, "设置", "Set Color", {570, 46, 682, 80}, false);
    set(2, CloseButton, "多键设置面板", "Set Multi Key", {550, 13, 702, 45}, true);
    set(3, SetColorButton, "设置", "Set Color", {570, 53, 682, 80}, true);
    BacklightTable::placeKeys(table, FirstKeySlot);
    return table;
}

} // namespace MultiKeyTable
