#pragma once

#include "layout/DrawnButton.h"

#include <cstdint>
#include <vector>

// The key settings dialog's face: its table of drawn entries per variant, where its child
// controls sit, and what kind of element every entry is, as plain data shared by the dialog
// and the skin generator. Rectangles are base pixels of the 590 x 370 face. Ids of 100 and
// above belong to page id / 100; smaller ids are on every page.
namespace KeySettingsTable {

constexpr int EntryCount = 221;
constexpr int BaseWidth = 590;
constexpr int BaseHeight = 370;
constexpr std::uint32_t ColourKey = 0x0000FF;
constexpr int PageCount = 7;

enum Id : int {
    FirstTabLabel = 30, // 30..36, one per page
    DefaultLabel = 37,
    OkLabel = 38,
    CancelLabel = 39,
    TitleLabel = 40,
    ClearLabel = 41,
    ClearButton = 86,
    DefaultButton = 87,
    OkButton = 88,
    CancelButton = 89,
    FirstTab = 90, // 90..96 switch to pages 1..7
    LastTab = 96,
    CloseMark = 97,

    SingleRadio = 101,
    ComboRadio = 102,
    CaptureKeyButton = 104,
    NewComboButton = 105,
    DeleteComboButton = 106,
    RecordComboButton = 107,
    VirtualSingleButton = 108,
    VirtualComboButton = 109,
    FirstComboRow = 121,
    LastComboRow = 126,
    SingleLabel = 151,
    ComboLabel = 152,
    PressKeyLabel = 153,
    CaptureLabel = 154,
    CaptureStopLabel = 155,
    SingleKeyName = 158,
    RecordComboLabel = 159,
    RecordComboStopLabel = 160,
    SingleStopHint = 165,

    TimesPlayRadio = 201,
    AutoDelayCheck = 203,
    NewMacroButton = 205,
    RemoveMacroButton = 206,
    RecordMacroButton = 207,
    PressPlayRadio = 208,
    TogglePlayRadio = 209,
    RecordDelayCheck = 210,
    FirstMacroRow = 221,
    LastMacroRow = 229,
    FirstMacroStepRow = 241,
    LastMacroStepRow = 249,
    TimesPlayLabel = 261,
    AutoDelayLabel = 262,
    RecordMacroLabel = 267,
    RecordMacroStopLabel = 268,
    MacroTip = 269,
    PressPlayLabel = 272,
    TogglePlayLabel = 273,
    RecordDelayLabel = 274,

    DelayPlate = 301,
    RecordEmuButton = 302,
    NewEmuButton = 305,
    RemoveEmuButton = 306,
    FirstEmuRow = 321,
    LastEmuRow = 329,
    FirstEmuStepRow = 341,
    LastEmuStepRow = 349,
    RecordEmuLabel = 352,
    RecordEmuStopLabel = 353,
    EmuStopHint = 360,

    FirstMediaButton = 401,
    LastMediaButton = 418,
    FirstMouseButton = 502,
    LastMouseButton = 514,
    FirstFunctionButton = 601,
    LastFunctionButton = 638,
    FirstPowerButton = 701,
    LastPowerButton = 703,
};

// What an entry looks like on the face.
enum class Kind : std::uint8_t {
    None, // an empty slot
    Label,
    PushButton,
    PrimaryButton, // OK
    PageTab,
    CloseMark,
    Radio,
    Check,
    Plate,    // a framed caption without an action of its own
    ListRow,  // a row of a list, its text drawn by the dialog
    CodeCap,  // an icon button of the Multimedia and Function pages
    CodeRow,  // a row of the Mouse page
    PowerKey, // a button of the Power page
};

// 0 for entries on every page, else 1..7.
constexpr int pageOfId(int id)
{
    return id >= 100 ? id / 100 : 0;
}

// All 221 entries in table order, in base pixels; unused slots keep the defaults (id -1).
std::vector<DrawnButton> build(int deviceType);

// Page 1's buttons that act in one mode only: New, Delete, Record and the virtual keyboard of a
// combination, and the single key's virtual keyboard.
constexpr bool actsInComboModeOnly(int id)
{
    return id == NewComboButton || id == DeleteComboButton || id == RecordComboButton
           || id == VirtualComboButton;
}
constexpr bool actsInSingleModeOnly(int id)
{
    return id == VirtualSingleButton;
}

Kind kindOf(int id);

// The child controls, in base pixels: the times / delay field (1001), the auto delay field
// (1002), the read-only keys of the combination (1005), and the scroll bars of the entry
// list (1006) and the step list (1007). The two fields sit further right in English, except
// the interval field of the Emulate page (page 3), whose unit follows it closely.
constexpr int TimesField = 1001;
constexpr int AutoDelayField = 1002;
constexpr int InPlaceField = 1003;
constexpr int ComboKeysField = 1005;
constexpr int EntryScrollBar = 1006;
constexpr int StepScrollBar = 1007;
ButtonRect fieldRect(int fieldId, bool chinese, int page = 2);
// Where a page's scroll bar stands; empty when the page has none. The width is the skin's.
ButtonRect scrollBarRect(int barId, int page);

// Fonts of the fields (1005 uses the smaller one) and of the list rows, in base pixels.
constexpr int FieldFontSize = 13;
constexpr int ComboKeysFontSize = 11;
constexpr int RowFontSize = 11;

} // namespace KeySettingsTable
