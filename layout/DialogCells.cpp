#include "layout/DialogCells.h"

namespace DialogCells {

std::vector<DrawnButton> build(std::span<const DialogCell> cells, int size)
{
    std::vector<DrawnButton> table(std::size_t(size > 0 ? size : 0));
    std::size_t i = 0;
    for (const DialogCell &cell : cells) {
        if (i == table.size())
            break;
        DrawnButton &entry = table[i++];
        entry.id = cell.id;
        entry.isLabel = cell.isLabel;
        entry.rect = cell.rect;
        entry.setCaption(cell.zh, cell.en);
        entry.tooltips["zh-CN"] = "tip";
    }
    return table;
}

} // namespace DialogCells
