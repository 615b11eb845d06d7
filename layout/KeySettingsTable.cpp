#include "layout/KeySettingsTable.h"

#include "layout/KeySettingsFiller.h"

#include <algorithm>
#include <iterator>

namespace KeySettingsTable {
namespace {

constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Orange = 0x006FFF;
constexpr std::uint32_t Dim = 0x9B918B;

constexpr const char *RecordZh = "开始录制";
constexpr const char *StopZh = "停止录制";
constexpr const char *VirtualZh = "虚拟键盘输入";
constexpr const char *VirtualEn = "Virtual Key Input";
// Every key is recorded, Esc too: holding it is the way out from the keyboard (the macro
// page's tip says it as well).
constexpr const char *StopHintZh = "按住Esc键一秒可停止录制";
constexpr const char *StopHintEn = "Hold Esc for one second to stop a recording.";

// Buttons come before the labels that carry their text, so that the text paints over them.
constexpr Cell commonCells[] = {
    {TitleLabel, Kind::Label, {1, 12, 573, 33}, "按键设置面板", "Key Settings"},
    {DefaultButton, Kind::PushButton, {33, 320, 117, 353}, "恢复默认", "Default"},
    {DefaultLabel, Kind::Label, {37, 328, 117, 353}, "恢复默认", "Default"},
    {ClearButton, Kind::PushButton, {130, 320, 212, 353}, "清空配置", "Clear"},
    {ClearLabel, Kind::Label, {130, 328, 212, 353}, "清空配置", "Clear"},
    {OkButton, Kind::PrimaryButton, {365, 320, 449, 353}, "确定", "OK"},
    {OkLabel, Kind::Label, {365, 328, 449, 353}, "确定", "OK"},
    {CancelButton, Kind::PushButton, {462, 320, 544, 353}, "取消", "Cancel"},
    {CancelLabel, Kind::Label, {462, 328, 544, 353}, "取消", "Cancel"},
    {CloseMark, Kind::CloseMark, {545, 10, 565, 30}, "", ""},
};

struct TabCaption {
    const char *zh;
    const char *en;
};
constexpr TabCaption tabCaptions[PageCount] = {
    {"单/组合键", "Single/Com"}, {"宏定义", "Macro"}, {"模拟击键", "Emulate"},
    {"多媒体", "Multimedia"},    {"鼠标", "Mouse"},   {"操控键", "Function"},
    {"电源键", "Power"},
};

constexpr Cell singleComboCells[] = {
    {SingleRadio, Kind::Radio, {50, 100, 110, 125}, "单键", "Single"},
    {SingleLabel, Kind::Label, {70, 104, 130, 125}, "单键", "Single", Left},
    {ComboRadio, Kind::Radio, {210, 100, 275, 125}, "组合键", "Combo"},
    {ComboLabel, Kind::Label, {230, 104, 275, 125}, "组合键", "Combo", Left},
    {PressKeyLabel, Kind::Label, {45, 135, 160, 155}, "请输入一个单键：", "Press a key:", Left},
    {SingleKeyName, Kind::Label, {48, 166, 160, 188}, "-- --", "-- --"},
    {CaptureKeyButton, Kind::PushButton, {43, 204, 165, 238}, RecordZh, "Record"},
    {CaptureLabel, Kind::Label, {43, 212, 165, 238}, RecordZh, "Record"},
    {CaptureStopLabel, Kind::Label, {43, 212, 165, 238}, StopZh, "Stop Rec"},
    {VirtualSingleButton, Kind::PushButton, {43, 242, 165, 278}, VirtualZh, VirtualEn},
    {163, Kind::Label, {43, 250, 165, 278}, VirtualZh, VirtualEn},
    {161, Kind::Label, {214, 118, 355, 134}, "组合键列表", "Combo List", Left},
    {NewComboButton, Kind::PushButton, {220, 242, 280, 278}, "新建", "New"},
    {156, Kind::Label, {220, 250, 280, 278}, "新建", "New"},
    {DeleteComboButton, Kind::PushButton, {290, 242, 350, 278}, "删除", "Delete"},
    {157, Kind::Label, {290, 250, 350, 278}, "删除", "Delete"},
    {162, Kind::Label, {378, 118, 522, 134}, "录制框", "Record List", Left},
    {RecordComboButton, Kind::PushButton, {375, 204, 525, 238}, RecordZh, "Record"},
    {RecordComboLabel, Kind::Label, {375, 212, 525, 238}, RecordZh, "Record"},
    {RecordComboStopLabel, Kind::Label, {375, 212, 525, 238}, StopZh, "Stop Rec"},
    {VirtualComboButton, Kind::PushButton, {375, 242, 525, 278}, VirtualZh, VirtualEn},
    {164, Kind::Label, {375, 250, 525, 278}, VirtualZh, VirtualEn},
    {SingleStopHint, Kind::Label, {24, 290, 566, 306}, StopHintZh, StopHintEn},
};

constexpr Cell macroCells[] = {
    {270, Kind::Label, {37, 95, 178, 111}, "宏列表", "Macro List", Left},
    {271, Kind::Label, {213, 95, 355, 111}, "录制框", "Record List", Left},
    {TimesPlayRadio, Kind::Radio, {390, 115, 405, 130}, "次数播放", "Times Play"},
    {TimesPlayLabel, Kind::Label, {407, 111, 475, 129}, "次数播放", "Times Play", Left},
    {275, Kind::Label, {540, 111, 584, 129}, "次", "times", Left},
    {PressPlayRadio,
     Kind::Radio,
     {390, 135, 405, 150},
     "按下播放，释放停止",
     "Press play, release stop"},
    {PressPlayLabel,
     Kind::Label,
     {407, 132, 570, 150},
     "按下播放，释放停止",
     "Press play, release stop",
     Left},
    {TogglePlayRadio, Kind::Radio, {390, 155, 405, 170}, "按键开/关播放", "Press to play/stop"},
    {TogglePlayLabel,
     Kind::Label,
     {407, 153, 520, 171},
     "按键开/关播放",
     "Press to play/stop",
     Left},
    {AutoDelayCheck, Kind::Check, {390, 175, 405, 190}, "自动延时", "Auto delay"},
    {AutoDelayLabel, Kind::Label, {407, 174, 475, 192}, "自动延时", "Auto delay", Left},
    {276, Kind::Label, {540, 174, 584, 192}, "毫秒", "ms", Left},
    {RecordDelayCheck, Kind::Check, {390, 195, 405, 210}, "记录延时", "Record delay"},
    {RecordDelayLabel, Kind::Label, {407, 195, 510, 213}, "记录延时", "Record delay", Left},
    {RecordMacroButton, Kind::PushButton, {385, 215, 539, 248}, RecordZh, "Record"},
    {RecordMacroLabel, Kind::Label, {385, 224, 539, 248}, RecordZh, "Record"},
    {RecordMacroStopLabel, Kind::Label, {385, 224, 539, 248}, StopZh, "Stop Rec"},
    {NewMacroButton, Kind::PushButton, {45, 258, 105, 288}, "新建", "New"},
    {265, Kind::Label, {45, 264, 105, 288}, "新建", "New"},
    {RemoveMacroButton, Kind::PushButton, {114, 258, 174, 288}, "删除", "Remove"},
    {266, Kind::Label, {114, 264, 174, 288}, "删除", "Remove"},
    {MacroTip,
     Kind::Label,
     {230, 253, 539, 309},
     "温馨提示：录制框中单击鼠标右键可插入鼠标功能\n录制框中选中延时参数并双击鼠标左键可对其编辑\n"
     "按住Esc键一秒可停止录制",
     "Tip:Right of mouse click to insert mouse actions in\nrecord list. Select delay parameter "
     "and double click\nleft of mouse to edit in record list.\nHold Esc for one second to stop "
     "a recording.",
     Left},
};

constexpr Cell emulateCells[] = {
    {357, Kind::Label, {37, 95, 178, 111}, "模拟击键列表", "Emu List", Left},
    {358, Kind::Label, {213, 95, 355, 111}, "录制框", "Record List", Left},
    {DelayPlate, Kind::Plate, {383, 110, 467, 140}, "延时", "Delay"},
    {351, Kind::Label, {387, 112, 447, 130}, "延时", "Delay"},
    {359, Kind::Label, {520, 112, 560, 130}, "毫秒", "ms", Left},
    {RecordEmuButton, Kind::PushButton, {383, 150, 538, 176}, RecordZh, "Record"},
    {RecordEmuLabel, Kind::Label, {383, 154, 538, 176}, RecordZh, "Record"},
    {RecordEmuStopLabel, Kind::Label, {383, 154, 538, 176}, StopZh, "Stop Rec"},
    {NewEmuButton, Kind::PushButton, {45, 258, 105, 288}, "新建", "New"},
    {355, Kind::Label, {45, 264, 105, 288}, "新建", "New"},
    {RemoveEmuButton, Kind::PushButton, {114, 258, 174, 288}, "删除", "Remove"},
    {356, Kind::Label, {114, 264, 174, 288}, "删除", "Remove"},
    {EmuStopHint, Kind::Label, {383, 184, 560, 216}, StopHintZh, StopHintEn, Left | WordBreak},
};

constexpr Cell sectionCells[] = {
    {451, Kind::Label, {46, 127, 167, 150}, "多媒体功能", "Media Function", Left},
    {452, Kind::Label, {46, 207, 167, 230}, "浏览器功能", "Browser Function", Left},
    {651, Kind::Label, {36, 92, 167, 150}, "按键功能", "Key Function", Left},
    {652, Kind::Label, {36, 200, 167, 230}, "背光功能", "Backlight Function", Left},
};

// The "Stop Rec" labels replace their "Record" labels while a recording runs.
constexpr int stopLabels[]
    = {CaptureStopLabel, RecordComboStopLabel, RecordMacroStopLabel, RecordEmuStopLabel};
// Labels of radios and check boxes: green while theirs is checked.
constexpr int choiceLabels[] = {SingleLabel,     ComboLabel,     TimesPlayLabel,  PressPlayLabel,
                                TogglePlayLabel, AutoDelayLabel, RecordDelayLabel};

// Headings over lists and groups of buttons, quieter than the captions under them. Those whose
// rectangles reach down to what they head sit at the bottom of them, the others at the top (the
// Function page's first row of buttons lies within its heading's rectangle).
struct Heading {
    int id;
    std::uint32_t align;
};
constexpr Heading headings[] = {{161, Bottom}, {162, Bottom}, {270, 0},      {271, 0}, {357, 0},
                                {358, 0},      {451, Bottom}, {452, Bottom}, {651, 0}, {652, 0}};
constexpr int HeadingFontSize = 12;
// Quiet texts that say how things are done.
constexpr int hints[] = {MacroTip, SingleStopHint, EmuStopHint};

DrawnButton *find(std::vector<DrawnButton> &table, int id)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [id](const DrawnButton &entry) { return entry.id == id; });
    return found == table.end() ? nullptr : &*found;
}

template<std::size_t N>
bool contains(const int (&ids)[N], int id)
{
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

} // namespace

std::vector<DrawnButton> build(int deviceType)
{
    std::vector<DrawnButton> table(EntryCount);
    Filler fill(table);
    fill.add(commonCells);
    for (int n = 0; n < PageCount; ++n)
        fill.add(FirstTab + n, {18 + 78 * n, 48, 95 + 78 * n, 80}, tabCaptions[n].zh,
                 tabCaptions[n].en);
    for (int n = 0; n < PageCount; ++n) {
        DrawnButton &label = fill.add(FirstTabLabel + n, {18 + 78 * n, 56, 95 + 78 * n, 80},
                                      tabCaptions[n].zh, tabCaptions[n].en);
        label.checkedTextColor = Orange; // the page showing
    }

    fill.add(singleComboCells);
    fill.addRows(FirstComboRow, 6, 214, 136, 355, 16, 15);
    fill.add(macroCells);
    fill.addRows(FirstMacroRow, 9, 37, 114, 178, 14, 13);
    fill.addRows(FirstMacroStepRow, 9, 213, 114, 355, 14, 13);
    fill.add(emulateCells);
    fill.addRows(FirstEmuRow, 9, 37, 114, 178, 14, 13);
    fill.addRows(FirstEmuStepRow, 9, 213, 114, 355, 14, 13);
    fill.add(sectionCells[0]);
    fill.add(sectionCells[1]);
    fill.addMediaPage();
    fill.addMousePage();
    fill.add(sectionCells[2]);
    fill.add(sectionCells[3]);
    fill.addFunctionPage(deviceType);
    fill.addPowerPage();

    for (int id : stopLabels) {
        DrawnButton *label = find(table, id);
        label->textColor = label->checkedTextColor = Green;
        label->showText = false;
    }
    for (int id : choiceLabels) {
        DrawnButton *label = find(table, id);
        label->checkedTextColor = Green;
        // Level with the radio or box beside it.
        label->textFormat = Left | VerticalCentre;
    }
    for (const Heading &heading : headings) {
        DrawnButton *label = find(table, heading.id);
        label->textColor = Dim;
        label->fontSize = HeadingFontSize;
        label->textFormat = Left | heading.align;
    }
    for (int id : hints) {
        DrawnButton *hint = find(table, id);
        hint->textColor = Dim;
        hint->fontSize = HeadingFontSize;
    }
    return table;
}

Kind kindOf(int id)
{
    if (id < 1)
        return Kind::None;
    if (id >= FirstTab && id <= LastTab)
        return Kind::PageTab;
    if ((id >= FirstComboRow && id <= LastComboRow) || (id >= FirstMacroRow && id <= LastMacroRow)
        || (id >= FirstMacroStepRow && id <= LastMacroStepRow)
        || (id >= FirstEmuRow && id <= LastEmuRow)
        || (id >= FirstEmuStepRow && id <= LastEmuStepRow))
        return Kind::ListRow;
    if (id >= FirstMediaButton && id <= LastMediaButton)
        return Kind::CodeCap;
    if (id >= FirstMouseButton && id <= LastMouseButton)
        return Kind::CodeRow;
    if (id >= FirstFunctionButton && id <= LastFunctionButton)
        return Kind::CodeCap;
    if (id >= FirstPowerButton && id <= LastPowerButton)
        return Kind::PowerKey;
    switch (id) {
    case CloseMark:
        return Kind::CloseMark;
    case OkButton:
        return Kind::PrimaryButton;
    case SingleRadio:
    case ComboRadio:
    case TimesPlayRadio:
    case PressPlayRadio:
    case TogglePlayRadio:
        return Kind::Radio;
    case AutoDelayCheck:
    case RecordDelayCheck:
        return Kind::Check;
    case DelayPlate:
        return Kind::Plate;
    case DefaultButton:
    case ClearButton:
    case CancelButton:
    case CaptureKeyButton:
    case NewComboButton:
    case DeleteComboButton:
    case RecordComboButton:
    case VirtualSingleButton:
    case VirtualComboButton:
    case NewMacroButton:
    case RemoveMacroButton:
    case RecordMacroButton:
    case RecordEmuButton:
    case NewEmuButton:
    case RemoveEmuButton:
        return Kind::PushButton;
    default:
        return Kind::Label;
    }
}

ButtonRect fieldRect(int fieldId, bool chinese, int page)
{
    // Wide enough for the largest value at any scale: 255 times, 60000 ms of auto delay,
    // 6000 ms of emulation interval. English captions are longer: the fields sit further right.
    switch (fieldId) {
    case TimesField:
        if (page == 3)
            return {470, 112, 516, 130};
        return chinese ? ButtonRect{470, 112, 524, 130} : ButtonRect{482, 112, 536, 130};
    case AutoDelayField:
        return chinese ? ButtonRect{470, 176, 524, 194} : ButtonRect{482, 176, 536, 194};
    case ComboKeysField:
        return {380, 138, 521, 190};
    default:
        return {};
    }
}

ButtonRect scrollBarRect(int barId, int page)
{
    if (page == 1)
        return barId == EntryScrollBar ? ButtonRect{358, 137, 373, 233} : ButtonRect{};
    if (page == 2 || page == 3)
        return barId == EntryScrollBar ? ButtonRect{181, 115, 196, 241}
                                       : ButtonRect{357, 115, 372, 241};
    return {};
}

} // namespace KeySettingsTable
