#include "layout/MainWindowTable.h"

#include "model/KeyboardModel.h"

#include <quillodev/KeyCounts.h>

#include <array>

namespace MainWindowTable {
namespace {

struct KeyCell {
    const char *caption;
    const char *name; // null: same as the caption
    short left, top, right, bottom;
};

// Keys 1..108 in key number order.
constexpr std::array<KeyCell, quillodev::KeyCount> keys{{
    {"Esc", nullptr, 124, 168, 170, 216},
    {"F1", nullptr, 216, 168, 262, 216},
    {"F2", nullptr, 262, 168, 308, 216},
    {"F3", nullptr, 308, 168, 354, 216},
    {"F4", nullptr, 354, 168, 400, 216},
    {"F5", nullptr, 422, 168, 468, 216},
    {"F6", nullptr, 468, 168, 514, 216},
    {"F7", nullptr, 514, 168, 560, 216},
    {"F8", nullptr, 560, 168, 606, 216},
    {"F9", nullptr, 628, 168, 674, 216},
    {"F10", nullptr, 674, 168, 720, 216},
    {"F11", nullptr, 720, 168, 766, 216},
    {"F12", nullptr, 766, 168, 812, 216},
    {"~", nullptr, 124, 226, 170, 273}, // 14
    {"1", nullptr, 170, 226, 216, 273},
    {"2", nullptr, 216, 226, 262, 273},
    {"3", nullptr, 262, 226, 308, 273},
    {"4", nullptr, 308, 226, 354, 273},
    {"5", nullptr, 354, 226, 400, 273},
    {"6", nullptr, 400, 226, 446, 273},
    {"7", nullptr, 446, 226, 491, 273},
    {"8", nullptr, 491, 226, 536, 273},
    {"9", nullptr, 536, 226, 582, 273},
    {"0", nullptr, 582, 226, 628, 273},
    {"-", nullptr, 628, 226, 674, 273},
    {"+", nullptr, 674, 226, 720, 273},
    {"BackSpace", nullptr, 720, 226, 810, 273},
    {"Tab", nullptr, 124, 273, 193, 320}, // 28
    {"Q", nullptr, 193, 273, 239, 320},
    {"W", nullptr, 239, 273, 285, 320},
    {"E", nullptr, 285, 273, 331, 320},
    {"R", nullptr, 331, 273, 377, 320},
    {"T", nullptr, 377, 273, 423, 320},
    {"Y", nullptr, 423, 273, 469, 320},
    {"U", nullptr, 469, 273, 515, 320},
    {"I", nullptr, 515, 273, 561, 320},
    {"O", nullptr, 561, 273, 607, 320},
    {"P", nullptr, 607, 273, 653, 320},
    {"[", nullptr, 653, 273, 699, 320},
    {"]", nullptr, 699, 273, 745, 320},
    {"\\", nullptr, 745, 273, 810, 320},
    {"Caps Lock", nullptr, 124, 320, 210, 367}, // 42
    {"A", nullptr, 210, 320, 256, 367},
    {"S", nullptr, 256, 320, 302, 367},
    {"D", nullptr, 302, 320, 348, 367},
    {"F", nullptr, 348, 320, 394, 367},
    {"G", nullptr, 394, 320, 440, 367},
    {"H", nullptr, 440, 320, 486, 367},
    {"J", nullptr, 486, 320, 532, 367},
    {"K", nullptr, 532, 320, 578, 367},
    {"L", nullptr, 578, 320, 624, 367},
    {";", nullptr, 624, 320, 670, 367},
    {"'", nullptr, 670, 320, 716, 367},
    {"Enter", nullptr, 716, 320, 811, 367},
    {"Shift", nullptr, 124, 367, 235, 414}, // 55
    {"Z", nullptr, 235, 367, 281, 414},
    {"X", nullptr, 281, 367, 327, 414},
    {"C", nullptr, 327, 367, 373, 414},
    {"V", nullptr, 373, 367, 419, 414},
    {"B", nullptr, 419, 367, 465, 414},
    {"N", nullptr, 465, 367, 511, 414},
    {"M", nullptr, 511, 367, 557, 414},
    {"<", nullptr, 557, 367, 603, 414},
    {">", nullptr, 603, 367, 649, 414},
    {"?", nullptr, 649, 367, 695, 414},
    {"Shift", nullptr, 695, 367, 810, 414},
    {"Ctrl", nullptr, 124, 414, 180, 461}, // 67
    {"Win", "LWin", 180, 414, 236, 461},
    {"Alt", "LAlt", 236, 414, 292, 461},
    {"Space", nullptr, 292, 414, 587, 461},
    {"Alt", "RAlt", 587, 414, 643, 461},
    {"Fn", "RWin", 643, 414, 699, 461},
    {"LMenu", "RightApp", 699, 414, 755, 461},
    {"Ctrl", "RCtrl", 755, 414, 811, 461},
    {"PrtScreen", "PrintScreen", 822, 168, 868, 215}, // 75
    {"ScrollLock", nullptr, 868, 168, 914, 215},
    {"Pause", nullptr, 914, 168, 960, 215},
    {"Insert", nullptr, 822, 225, 868, 272}, // 78
    {"Home", nullptr, 868, 225, 914, 272},
    {"PgUp", nullptr, 914, 225, 960, 272},
    {"Delete", nullptr, 822, 272, 868, 319}, // 81
    {"End", nullptr, 868, 272, 914, 319},
    {"PgDown", nullptr, 914, 272, 960, 319},
    {"Up", nullptr, 868, 366, 914, 413}, // 84
    {"Left", nullptr, 822, 413, 868, 460},
    {"Down", nullptr, 868, 413, 914, 460},
    {"Right", nullptr, 914, 413, 960, 460},
    {"PlayPause", nullptr, 968, 168, 1014, 215}, // 88
    {"PreviousTrack", nullptr, 1014, 168, 1060, 215},
    {"NextTrack", nullptr, 1060, 168, 1106, 215},
    {"Stop", nullptr, 1106, 168, 1152, 215},
    {"NumLock", nullptr, 968, 225, 1014, 272}, // 92
    {"KP/", nullptr, 1014, 225, 1060, 272},
    {"KP*", nullptr, 1060, 225, 1106, 272},
    {"KP-", nullptr, 1106, 225, 1152, 272},
    {"KP7", nullptr, 968, 272, 1014, 319}, // 96
    {"KP8", nullptr, 1014, 272, 1060, 319},
    {"KP9", nullptr, 1060, 272, 1106, 319},
    {"KP+", nullptr, 1106, 272, 1152, 366},
    {"KP4", nullptr, 968, 319, 1014, 366}, // 100
    {"KP5", nullptr, 1014, 319, 1060, 366},
    {"KP6", nullptr, 1060, 319, 1106, 366},
    {"KP1", nullptr, 968, 366, 1014, 413}, // 103
    {"KP2", nullptr, 1014, 366, 1060, 413},
    {"KP3", nullptr, 1060, 366, 1106, 413},
    {"KP0", nullptr, 968, 413, 1060, 460}, // 106
    {"KP.", nullptr, 1060, 413, 1106, 460},
    {"KPEnter", nullptr, 1106, 366, 1152, 460},
}};

struct ToolCell {
    int id;
    const char *zh;
    const char *en;
    const char *tipZh;
    const char *tipEn;
    ButtonRect wide;   // variants 0, 1 and 4
    ButtonRect narrow; // variants 2 and 3; id -1 rectangle: absent there
};

constexpr ButtonRect Absent{};

// The captions of 85 and 86 name the other language and the old command wording; the window
// never draws them, the labels below carry the visible texts.
constexpr ToolCell toolBar[] = {
    {LanguageButton,
     "English",
     "简体中文",
     "语言",
     "Language",
     {855, 92, 950, 128},
     {750, 92, 845, 128}},
    {GetCounterButton,
     "GetCounter",
     "读取计数",
     "读取计数",
     "Read counters",
     {750, 92, 845, 128},
     {645, 92, 737, 128}},
    {HelpButton, "", "", "帮助", "Help", {1167, 20, 1192, 50}, {1167, 20, 1192, 50}},
    {MinimiseButton, "", "", "最小化", "Minimise", {1140, 20, 1165, 50}, {1140, 20, 1165, 50}},
    {ExitButton, "", "", "退出", "Exit", {1194, 20, 1219, 50}, {1194, 20, 1219, 50}},
    {SaveButton, "保存配置", "Save", "保存配置", "Save", {15, 92, 110, 128}, {15, 92, 110, 128}},
    {OpenButton, "打开配置", "Open", "打开配置", "Open", {120, 92, 215, 128}, {120, 92, 215, 128}},
    {ClearButton,
     "清空配置",
     "Clear",
     "清空配置",
     "Clear",
     {225, 92, 325, 128},
     {225, 92, 325, 128}},
    {WriteKeysButton,
     "写入按键",
     "Write key settings",
     "写入按键",
     "Write key settings",
     {330, 92, 430, 128},
     {330, 92, 430, 128}},
    {BacklightButton,
     "设置背光",
     "Write back light",
     "设置背光",
     "Write back light",
     {435, 92, 535, 128},
     Absent},
    {LoadButton, "读取配置", "Load", "读取配置", "Load", {540, 92, 635, 128}, {435, 92, 535, 128}},
    {FirmwareButton,
     "固件升级",
     "Firmware Update",
     "固件升级",
     "Firmware Update",
     {645, 92, 737, 128},
     {540, 92, 635, 128}},
    {LayerButton,
     "上档键",
     "Level 1",
     "上档键",
     "Level 1",
     {1113, 80, 1163, 135},
     {1113, 80, 1163, 135}},
};

struct LabelCell {
    int id;
    const char *zh;
    const char *en;
    std::uint32_t format;
    ButtonRect wide;
    ButtonRect narrow;
};

constexpr std::uint32_t Centred = 1;
constexpr std::uint32_t Left = 0;
constexpr std::uint32_t Right = 2;
constexpr std::uint32_t Middle = 4; // vertically centred in its place

constexpr LabelCell labels[] = {
    {LanguageLabel, "English", "简体中文", Centred, {855, 101, 950, 130}, {750, 101, 845, 130}},
    {GetCounterLabel,
     "读取计数",
     "ReadCounter",
     Centred,
     {750, 101, 845, 130},
     {650, 101, 735, 130}},
    {SaveLabel, "保存配置", "Save", Centred, {18, 101, 110, 130}, {18, 101, 110, 130}},
    {OpenLabel, "打开配置", "Open", Centred, {124, 101, 215, 130}, {124, 101, 215, 130}},
    {ClearLabel, "恢复默认", "Default", Centred, {225, 101, 325, 130}, {225, 101, 325, 130}},
    {WriteKeysLabel, "写入按键", "WriteKeys", Centred, {330, 101, 430, 130}, {330, 101, 430, 130}},
    {BacklightLabel, "设置背光", "LightSet", Centred, {435, 101, 535, 130}, Absent},
    {LoadLabel, "读取配置", "ReadAll", Centred, {540, 101, 635, 130}, {435, 101, 535, 130}},
    {FirmwareLabel, "固件升级", "Update", Centred, {645, 101, 735, 130}, {540, 101, 635, 130}},
    {TopLayerLabel, "顶层", "TopLayer", Right, {1050, 100, 1110, 125}, {1050, 100, 1110, 125}},
    {FnLayerLabel, "Fn组合层", "FnLayer", Left, {1165, 100, 1225, 125}, {1165, 100, 1225, 125}},
    {55, "组合键", "Combo", Left, {336, 483, 406, 503}, {336, 483, 406, 503}},
    {56, "宏定义键", "Macro", Left, {431, 483, 501, 503}, {431, 483, 501, 503}},
    {57, "模拟击键", "Emulation", Left, {526, 483, 596, 503}, {526, 483, 596, 503}},
    {58, "多媒体键", "Multimedia", Left, {624, 483, 694, 503}, {624, 483, 694, 503}},
    {59, "鼠标键", "Mouse", Left, {716, 483, 786, 503}, {716, 483, 786, 503}},
    {60, "操控键", "Function", Left, {813, 483, 883, 503}, {813, 483, 883, 503}},
    {61, "电源键", "Power", Left, {914, 483, 984, 503}, {914, 483, 984, 503}},
};

// Beyond the tool bar: after every other entry, so that their places in the table stay.
constexpr ToolCell extraButtons[] = {
    {HeatmapButton, "按键热力图", "Heatmap", "按键热力图", "Heatmap", HeatmapToggle, HeatmapToggle},
    {KeyTestButton, "按键测试", "Key test", "逐个检查键盘的按键；按 Esc 结束",
     "Check the keyboard key by key; Esc ends the test", KeyTestToggle, KeyTestToggle},
};
constexpr LabelCell extraLabels[] = {
    {HeatmapLabel, "按键热力图", "Heatmap", Centred | Middle, HeatmapToggle, HeatmapToggle},
    {KeyTestLabel, "按键测试", "Key test", Centred | Middle, KeyTestToggle, KeyTestToggle},
    {ModelCardLabel, "108 键 · 2 层", "108 keys · 2 layers", Left | Middle, ModelCardCaption,
     ModelCardCaption},
};

static_assert(std::size(toolBar) + keys.size() + std::size(labels) + std::size(extraButtons)
                  + std::size(extraLabels)
              <= EntryCount);

} // namespace

bool hasBacklightButton(int deviceType)
{
    return KeyboardModel::hasKeyColours(deviceType);
}

const char *keyCaption(int key)
{
    return key >= 1 && key <= quillodev::KeyCount ? keys[std::size_t(key - 1)].caption : "";
}

const char *keyName(int key)
{
    if (key < 1 || key > quillodev::KeyCount)
        return "";
    const KeyCell &cell = keys[std::size_t(key - 1)];
    return cell.name ? cell.name : cell.caption;
}

std::vector<DrawnButton> build(int deviceType)
{
    const bool wide = hasBacklightButton(deviceType);
    std::vector<DrawnButton> table(EntryCount);
    std::size_t slot = 0;

    for (const ToolCell &cell : toolBar) {
        DrawnButton &entry = table[slot++];
        const ButtonRect &rect = wide ? cell.wide : cell.narrow;
        if (rect == Absent)
            continue; // the slot stays empty
        entry.id = cell.id;
        entry.rect = rect;
        entry.setCaption(cell.zh, cell.en);
        entry.setTooltip(cell.tipZh, cell.tipEn);
    }

    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyCell &cell = keys[i];
        DrawnButton &entry = table[slot++];
        entry.id = FirstKeyButton + int(i);
        entry.keyIndex = int(i) + 1;
        entry.rect = {cell.left, cell.top, cell.right, cell.bottom};
        entry.setCaption(cell.caption, cell.caption);
        const char *name = cell.name ? cell.name : cell.caption;
        entry.setTooltip(name, name);
    }

    const auto addLabel = [&](const LabelCell &cell) {
        DrawnButton &entry = table[slot++];
        const ButtonRect &rect = wide ? cell.wide : cell.narrow;
        if (rect == Absent)
            return;
        entry.id = cell.id;
        entry.isLabel = true;
        entry.rect = rect;
        entry.setCaption(cell.zh, cell.en);
        entry.textFormat = cell.format;
        if (cell.id == TopLayerLabel || cell.id == FnLayerLabel)
            entry.checkedTextColor = 0x00FF00;
        if (cell.id == HeatmapLabel || cell.id == KeyTestLabel)
            entry.checkedTextColor = 0x006FFF; // the accent while the view is on
        // The legend's longest word ("Multimedia") fills its place at 13 pixels; one size
        // smaller keeps all seven alike and clear of the next category's bar.
        if (cell.id >= FirstLegendLabel && cell.id <= LastLegendLabel)
            entry.fontSize = LegendFontSize;
        if (cell.id == ModelCardLabel) {
            entry.fontSize = LegendFontSize;
            entry.textColor = entry.checkedTextColor = ModelCardTextColour;
        }
    };
    for (const LabelCell &cell : labels)
        addLabel(cell);

    for (const ToolCell &cell : extraButtons) {
        DrawnButton &entry = table[slot++];
        entry.id = cell.id;
        entry.rect = cell.wide;
        entry.setCaption(cell.zh, cell.en);
        entry.setTooltip(cell.tipZh, cell.tipEn);
    }
    for (const LabelCell &cell : extraLabels)
        addLabel(cell);
    return table;
}

int indexOf(const std::vector<DrawnButton> &table, int id)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].id == id)
            return int(i);
    }
    return -1;
}

} // namespace MainWindowTable
