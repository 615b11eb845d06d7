#pragma once

class ButtonTable;
class KeySettingsModel;
class KeySettingsViews;

// Writes what the next paint of a key settings page shows into the dialog's table, from the
// model: the tab of the page, the Record / Stop Rec labels, the radios and check boxes with
// their green labels, the single key's name, the list rows and the chosen code button.
namespace KeySettingsPageState {

void write(ButtonTable &table, const KeySettingsModel &model, const KeySettingsViews &views,
           int page);

} // namespace KeySettingsPageState
