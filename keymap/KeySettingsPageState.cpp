#include "keymap/KeySettingsPageState.h"

#include "keymap/KeySettingsModel.h"
#include "keymap/KeySettingsViews.h"
#include "layout/ButtonTable.h"
#include "layout/KeySettingsTable.h"
#include "model/StepText.h"

using namespace KeySettingsTable;
using Recording = KeySettingsModel::Recording;

namespace {

// While a recording runs its "Stop Rec" label replaces the "Record" one.
struct RecordLabels {
    Recording kind;
    int record;
    int stop;
};
constexpr RecordLabels recordLabels[] = {
    {Recording::SingleKey, CaptureLabel, CaptureStopLabel},
    {Recording::Combination, RecordComboLabel, RecordComboStopLabel},
    {Recording::Macro, RecordMacroLabel, RecordMacroStopLabel},
    {Recording::Emulation, RecordEmuLabel, RecordEmuStopLabel},
};

// Page 1's buttons that act in one mode only dim their captions in the other.
struct Captioned {
    int button;
    int label;
};
constexpr Captioned modeButtons[] = {{NewComboButton, 156},
                                     {DeleteComboButton, 157},
                                     {RecordComboButton, RecordComboLabel},
                                     {VirtualComboButton, 164},
                                     {VirtualSingleButton, 163}};
constexpr std::uint32_t Caption = 0xC8C8C8;
constexpr std::uint32_t Inactive = 0x6A645E;

// A choice and its label are checked together.
struct Choice {
    int button;
    int label;
};

class Writer {
public:
    explicit Writer(ButtonTable &table)
        : m_table(table)
    {}

    DrawnButton *entry(int id)
    {
        const int index = m_table.indexOfId(id);
        return index < 0 ? nullptr : &m_table[std::size_t(index)];
    }
    void check(int id, bool on)
    {
        if (DrawnButton *e = entry(id))
            e->checked = on;
    }
    void check(Choice choice, bool on)
    {
        check(choice.button, on);
        check(choice.label, on);
    }
    void show(int id, bool on)
    {
        if (DrawnButton *e = entry(id))
            e->showText = on;
    }
    void dim(int id, bool inactive)
    {
        if (DrawnButton *e = entry(id))
            e->textColor = inactive ? Inactive : Caption;
    }

private:
    ButtonTable &m_table;
};

void writeCodes(ButtonTable &table, const KeySettingsModel &model, int page)
{
    const int chosen = model.chosenCode(page);
    for (DrawnButton &button : table) {
        if (pageOfId(button.id) == page && !button.isLabel)
            button.checked = button.itemCode >= 0 && button.itemCode == chosen;
    }
}

} // namespace

namespace KeySettingsPageState {

void write(ButtonTable &table, const KeySettingsModel &model, const KeySettingsViews &views,
           int page)
{
    Writer writer(table);
    for (int n = 0; n < PageCount; ++n)
        writer.check(FirstTabLabel + n, n + 1 == page);
    for (const RecordLabels &labels : recordLabels) {
        const bool running = model.recording() == labels.kind;
        writer.show(labels.record, !running);
        writer.show(labels.stop, running);
    }
    views.paintRows(table, page);

    switch (page) {
    case KeySettingsModel::SingleComboPage: {
        writer.check({SingleRadio, SingleLabel}, model.singleMode());
        writer.check({ComboRadio, ComboLabel}, !model.singleMode());
        for (const Captioned &button : modeButtons)
            writer.dim(button.label, model.singleMode() ? actsInComboModeOnly(button.button)
                                                        : actsInSingleModeOnly(button.button));
        const std::string name = StepText::stepText(model.catalogue(), model.singleKey(), false);
        if (DrawnButton *label = writer.entry(SingleKeyName))
            label->setCaption(name, name);
        break;
    }
    case KeySettingsModel::MacroPage: {
        const ActionList &macro = model.macros().current();
        writer.check({TimesPlayRadio, TimesPlayLabel}, macro.playMode == 0);
        writer.check({PressPlayRadio, PressPlayLabel}, macro.playMode == 1);
        writer.check({TogglePlayRadio, TogglePlayLabel}, macro.playMode == 2);
        writer.check({AutoDelayCheck, AutoDelayLabel}, macro.autoDelay);
        writer.check({RecordDelayCheck, RecordDelayLabel}, !macro.autoDelay);
        break;
    }
    case KeySettingsModel::EmulatePage:
        break;
    default:
        writeCodes(table, model, page);
        break;
    }
}

} // namespace KeySettingsPageState
