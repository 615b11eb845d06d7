#include "app/BacklightCommand.h"

#include "layout/MainWindowTable.h"
#include "lighting/BacklightSkins.h"
#include "lighting/CNuboDialogBkLightSettings.h"
#include "model/AppState.h"
#include "skin/SkinLibrary.h"

BacklightCommand::BacklightCommand(AppState &state, const DialogContext &context,
                                   DeviceAccess device)
    : m_state(state)
    , m_context(context)
    , m_device(device)
{}

bool BacklightCommand::run(QWidget *owner, const SkinLibrary *skins,
                           const TransferJob::Waits &waits)
{
    // Keyboards without per-key colours have no backlight button either.
    if (!MainWindowTable::hasBacklightButton(m_state.deviceType))
        return false;
    const BacklightSkins faces
        = skins ? BacklightSkins::fromLibrary(*skins, m_state.deviceType) : BacklightSkins{};
    CNuboDialogBkLightSettings dialog(m_context, m_device,
                                      {m_state.catalogue, m_state, m_state.pressCounters},
                                      m_state.multiKeyExchange, m_state.deviceType, faces, owner);
    dialog.setWaits(waits);
    dialog.setDeviceGate(m_refuses);
    dialog.setLightsStore([this](const LightSettings &lights) { store(lights); });
    if (!dialog.initialise())
        return false;
    if (m_hook)
        m_hook(dialog);
    // What the dialog put into the configuration, OK's colours or a Read's, is one step.
    const LightSettings before = m_state.lightSettings;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_state.history.recordLights(m_state, before);
    return accepted;
}

void BacklightCommand::store(const LightSettings &lights)
{
    m_state.lightSettings = lights;
}
