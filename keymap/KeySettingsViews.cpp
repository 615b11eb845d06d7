#include "keymap/KeySettingsViews.h"

#include "keymap/KeySettingsModel.h"
#include "layout/KeySettingsTable.h"

using namespace KeySettingsTable;

KeySettingsViews::KeySettingsViews()
    : m_combos(FirstComboRow, 6)
    , m_macros(FirstMacroRow, 9)
    , m_macroSteps(FirstMacroStepRow, 9)
    , m_emulations(FirstEmuRow, 9)
    , m_emulationSteps(FirstEmuStepRow, 9)
{}

void KeySettingsViews::bind(const ButtonTable &table, KeySettingsModel &model)
{
    for (ActionListView *view :
         {&m_combos, &m_macros, &m_macroSteps, &m_emulations, &m_emulationSteps})
        view->bind(table);
    // The model keeps its lists in place for its whole life.
    m_combos.show(&model.combos().list());
    m_macros.show(&model.macros().list());
    m_macroSteps.show(&model.macros().current());
    m_emulations.show(&model.emulations().list());
    m_emulationSteps.show(&model.emulations().current());
}

const ActionListView *KeySettingsViews::entries(int page) const
{
    switch (page) {
    case KeySettingsModel::SingleComboPage:
        return &m_combos;
    case KeySettingsModel::MacroPage:
        return &m_macros;
    case KeySettingsModel::EmulatePage:
        return &m_emulations;
    default:
        return nullptr;
    }
}

const ActionListView *KeySettingsViews::steps(int page) const
{
    if (page == KeySettingsModel::MacroPage)
        return &m_macroSteps;
    return page == KeySettingsModel::EmulatePage ? &m_emulationSteps : nullptr;
}

const ActionListView *KeySettingsViews::ofRow(int id) const
{
    for (const ActionListView *view :
         {&m_combos, &m_macros, &m_macroSteps, &m_emulations, &m_emulationSteps}) {
        if (view->rowOf(id) >= 0)
            return view;
    }
    return nullptr;
}

void KeySettingsViews::paintRows(ButtonTable &table, int page) const
{
    if (const ActionListView *view = entries(page))
        view->paintRows(table);
    if (const ActionListView *view = steps(page))
        view->paintRows(table);
}
