#include "app/KeyCommand.h"

#include "keymap/CNuboDialogKeyMapSettings.h"
#include "keymap/KeySettingsSkins.h"
#include "model/AppState.h"
#include "skin/SkinLibrary.h"

KeyCommand::KeyCommand(AppState &state, const DialogContext &context, const SkinLibrary *skins)
    : m_state(state)
    , m_context(context)
    , m_skins(skins)
{}

bool KeyCommand::run(QWidget *owner, int key)
{
    if (key < 1 || key > AppState::KeyCount)
        return false;
    m_state.currentKey = key;
    const KeySettingsSkins skins = m_skins
                                       ? KeySettingsSkins::fromLibrary(*m_skins, m_state.deviceType)
                                       : KeySettingsSkins{};
    const int layer = m_state.currentLayer == 1 ? 1 : 0;
    const KeySettingsInput input{m_state.catalogue,
                                 m_state.deviceType,
                                 key,
                                 layer,
                                 m_state.assignment(key, layer),
                                 m_state.predefinedCombos,
                                 m_state.predefinedMacros,
                                 m_state.predefinedEmulations};
    CNuboDialogKeyMapSettings dialog(m_context, input, m_state, skins, owner);
    if (!dialog.initialise())
        return false;
    if (m_hook)
        m_hook(dialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.change())
        return false;
    store(*dialog.change());
    return true;
}

void KeyCommand::store(const KeyMapChange &change)
{
    ConfigHistory::Before before = ConfigHistory::capture(m_state, change);
    change.applyTo(m_state);
    m_state.notWritten = true;
    m_state.history.record(ConfigHistory::Change::KeySettings, std::move(before));
}
