#include "keymap/KeySettingsCommands.h"

#include "keymap/KeySettingsEditor.h"
#include "keymap/VirtualKeyPicker.h"
#include "layout/KeySettingsCodes.h"
#include "layout/KeySettingsTable.h"
#include "model/KeyCatalogue.h"
#include "model/VirtualKeyPicks.h"

#include <QDialog>

#include <algorithm>

using namespace KeySettingsTable;

KeySettingsCommands::KeySettingsCommands(KeySettingsModel &model, const KeySettingsViews &views,
                                         VirtualKeyPicks &picks, Window window)
    : m_model(model)
    , m_views(views)
    , m_picks(picks)
    , m_window(std::move(window))
{}

namespace {

bool endsDialog(int id)
{
    return id == OkButton || id == CancelButton || id == CloseMark;
}

} // namespace

bool KeySettingsCommands::click(int id)
{
    if (m_window.commitEdit() && !endsDialog(id))
        return false;
    using Recording = KeySettingsModel::Recording;
    const Recording running = m_model.recording();
    if (running == Recording::SingleKey || running == Recording::Combination) {
        // The capture's own virtual keyboard button neither stops it nor opens the keyboard.
        if (id == (running == Recording::SingleKey ? VirtualSingleButton : VirtualComboButton))
            return false;
        m_window.stopRecording();
        if (!endsDialog(id))
            return false;
    } else if (running != Recording::None) {
        m_window.stopRecording();
        return false;
    }
    run(id);
    return true;
}

bool KeySettingsCommands::run(int id)
{
    const Handler handler = handlerOf(id);
    if (!handler)
        return false;
    (this->*handler)(id);
    return true;
}

KeySettingsCommands::Handler KeySettingsCommands::handlerOf(int id)
{
    struct Route {
        int first;
        int last;
        Handler handler;
    };
    static constexpr Route routes[] = {
        {FirstTab, LastTab, &KeySettingsCommands::onTab},
        {DefaultButton, DefaultButton, &KeySettingsCommands::onDefault},
        {ClearButton, ClearButton, &KeySettingsCommands::onClear},
        {OkButton, OkButton, &KeySettingsCommands::onOk},
        {CancelButton, CancelButton, &KeySettingsCommands::onCancel},
        {CloseMark, CloseMark, &KeySettingsCommands::onCancel},
        {SingleRadio, ComboRadio, &KeySettingsCommands::onSingleMode},
        {VirtualSingleButton, VirtualSingleButton, &KeySettingsCommands::onVirtualSingleKey},
        {VirtualComboButton, VirtualComboButton, &KeySettingsCommands::onVirtualComboKeys},
        {CaptureKeyButton, CaptureKeyButton, &KeySettingsCommands::onRecord},
        {RecordComboButton, RecordComboButton, &KeySettingsCommands::onRecord},
        {RecordMacroButton, RecordMacroButton, &KeySettingsCommands::onRecord},
        {RecordEmuButton, RecordEmuButton, &KeySettingsCommands::onRecord},
        {NewComboButton, DeleteComboButton, &KeySettingsCommands::onEditorButton},
        {TimesPlayRadio, RecordDelayCheck, &KeySettingsCommands::onEditorButton},
        {NewEmuButton, RemoveEmuButton, &KeySettingsCommands::onEditorButton},
        {FirstComboRow, LastComboRow, &KeySettingsCommands::onEntryRow},
        {FirstMacroRow, LastMacroRow, &KeySettingsCommands::onEntryRow},
        {FirstMacroStepRow, LastMacroStepRow, &KeySettingsCommands::onStepRow},
        {FirstEmuRow, LastEmuRow, &KeySettingsCommands::onEntryRow},
        {FirstEmuStepRow, LastEmuStepRow, &KeySettingsCommands::onStepRow},
        {FirstMediaButton, LastMediaButton, &KeySettingsCommands::onCodeButton},
        {FirstMouseButton, LastMouseButton, &KeySettingsCommands::onCodeButton},
        {FirstFunctionButton, LastFunctionButton, &KeySettingsCommands::onCodeButton},
        {FirstPowerButton, LastPowerButton, &KeySettingsCommands::onCodeButton},
    };
    for (const Route &route : routes) {
        if (id >= route.first && id <= route.last)
            return route.handler;
    }
    return nullptr;
}

void KeySettingsCommands::onTab(int id)
{
    m_model.showPage(id - FirstTab + 1);
}

void KeySettingsCommands::onDefault(int)
{
    m_model.restoreDefault();
}

void KeySettingsCommands::onClear(int)
{
    m_model.clear();
}

void KeySettingsCommands::onOk(int)
{
    m_window.ok();
}

void KeySettingsCommands::onCancel(int)
{
    m_window.cancel();
}

void KeySettingsCommands::onSingleMode(int id)
{
    m_model.setSingleMode(id == SingleRadio);
}

void KeySettingsCommands::onVirtualSingleKey(int)
{
    if (!m_model.singleMode())
        return;
    m_picks.virtualPick = m_model.singleKeyCode();
    if (m_window.virtualKeyboard(VirtualKeyPicker::SingleKey) == QDialog::Accepted)
        m_model.setSingleKey(m_model.catalogue().keyOfCode(m_picks.virtualPick));
}

void KeySettingsCommands::onVirtualComboKeys(int)
{
    // An empty list has no entry to keep the keys in, but the key can still take them.
    if (m_model.singleMode())
        return;
    if (m_window.virtualKeyboard(VirtualKeyPicker::Combination) != QDialog::Accepted)
        return;
    const int picked = std::clamp(m_picks.virtualPickCount, 0, int(m_picks.virtualPicks.size()));
    m_model.setCombinationCodes(
        std::vector<int>(m_picks.virtualPicks.begin(), m_picks.virtualPicks.begin() + picked));
}

void KeySettingsCommands::onEditorButton(int id)
{
    if (KeySettingsEditor::handlesButton(id))
        m_window.editor().clickButton(id);
}

void KeySettingsCommands::onEntryRow(int id)
{
    const int page = pageOfId(id);
    WorkingList *list = m_model.listOfPage(page);
    const ActionListView *view = m_views.entries(page);
    const int row = view ? view->rowOf(id) : -1;
    if (list && view && view->rowHasEntry(row))
        m_window.editor().clickEntryRow(page, row);
}

void KeySettingsCommands::onStepRow(int id)
{
    const int page = pageOfId(id);
    WorkingList *list = m_model.listOfPage(page);
    const ActionListView *view = m_views.steps(page);
    const int row = view ? view->rowOf(id) : -1;
    if (list && view && view->rowHasEntry(row))
        m_window.editor().clickStepRow(page, row);
}

void KeySettingsCommands::onCodeButton(int id)
{
    if (const KeySettingsCodes::CodeButton *button = KeySettingsCodes::buttonOfId(id))
        m_model.toggleCode(pageOfId(id), button->code);
}

void KeySettingsCommands::onRecord(int id)
{
    m_window.record(id);
}
