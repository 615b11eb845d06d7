#pragma once

#include "keymap/ActionListView.h"

class ButtonTable;
class KeySettingsModel;

// The five lists the key settings pages draw: the combinations (page 1), the macros and the
// steps of the current macro (page 2), the emulations and the keys of the current emulation
// (page 3).
class KeySettingsViews {
public:
    KeySettingsViews();

    // Finds the rows in the filled table and shows the model's lists and current entries.
    void bind(const ButtonTable &table, KeySettingsModel &model);

    // The entry list and the step list of a page; null where the page has none.
    const ActionListView *entries(int page) const;
    const ActionListView *steps(int page) const;
    // The view a row id belongs to, or null.
    const ActionListView *ofRow(int id) const;

    // The rows of a page's lists, for the next paint.
    void paintRows(ButtonTable &table, int page) const;

private:
    ActionListView m_combos;
    ActionListView m_macros;
    ActionListView m_macroSteps;
    ActionListView m_emulations;
    ActionListView m_emulationSteps;
};
