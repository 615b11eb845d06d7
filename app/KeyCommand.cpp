#include "app/KeyCommand.h"

#include "app/AppState.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "keymap/KeySettingsSkins.h"
#include "skin/SkinLibrary.h"

KeyCommand::KeyCommand(AppState &state, const FontTable &fonts, const SkinLibrary *skins)
    : m_state(state)
    , m_fonts(fonts)
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
    CNuboDialogKeyMapSettings dialog(m_state, m_fonts, skins, owner);
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
