#include "layout/ProgressTable.h"

#include "layout/DialogCells.h"

namespace ProgressTable {
namespace {

constexpr DialogCell cells[] = {
    {CloseButton, false, "", "", {332, 9, 355, 45}},
    {CancelButton, false, "取消", "Cancel", {237, 201, 327, 235}},
    {MessageLabel,
     true,
     "正在读写键盘，请勿插拔！",
     "Keep the keyboard connected!",
     {42, 116, 333, 135}},
    // The title is centred on the face (its middle is 185).
    {TitleLabel, true, "读写进度", "Progress", {104, 13, 266, 45}},
    {CancelLabel, true, "取消", "Cancel", {237, 209, 327, 235}},
};

} // namespace

std::vector<DrawnButton> build()
{
    return DialogCells::build(cells, EntryCount);
}

} // namespace ProgressTable
