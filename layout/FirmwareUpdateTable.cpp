#include "layout/FirmwareUpdateTable.h"

#include "layout/DialogCells.h"

namespace FirmwareUpdateTable {
namespace {

// Button 90's English caption is "Default" and is never drawn; label 190 shows the text.
constexpr DialogCell cells[] = {
    {CloseButton, false, "", "", {332, 9, 355, 45}},
    {GetVersionButton, false, "获取固件版本", "Default", {220, 70, 333, 100}},
    {OpenButton, false, "打开", "Open", {270, 108, 333, 140}},
    {UpdateButton, false, "更新", "Update", {47, 201, 129, 235}},
    {CancelButton, false, "取消", "Cancel", {237, 201, 327, 235}},
    {FileLabel, true, "载入文件：", "File", {42, 116, 119, 135}},
    // The title is centred on the face (its middle is 185).
    {TitleLabel, true, "键盘固件升级", "Firmware Update", {104, 13, 266, 45}},
    {GetVersionLabel, true, "获取固件版本", "Get Version", {220, 76, 333, 100}},
    {OpenLabel, true, "打开", "Open", {270, 116, 333, 138}},
    {UpdateLabel, true, "更新", "Update", {47, 209, 129, 235}},
    {CancelLabel, true, "取消", "Cancel", {237, 209, 327, 235}},
};

} // namespace

std::vector<DrawnButton> build()
{
    return DialogCells::build(cells, EntryCount);
}

} // namespace FirmwareUpdateTable
