#pragma once

#include "jobs/DeviceAccess.h"
#include "jobs/TransferJob.h"
#include "model/LightSettings.h"
#include "skin/DialogContext.h"

#include <functional>

class AppState;
class CNuboDialogBkLightSettings;
class SkinLibrary;
class QWidget;

// The main window's backlight command (RGB keyboards only): runs the backlight settings
// dialog, which reads and writes the keyboard's colours itself and hands the colours the user
// confirmed to store().
class BacklightCommand {
public:
    BacklightCommand(AppState &state, const DialogContext &context, DeviceAccess device);

    // Runs the dialog over `owner` with the faces of `skins` (blank without a library); false
    // when the keyboard takes no per-key colours or the user cancelled.
    bool run(QWidget *owner, const SkinLibrary *skins, const TransferJob::Waits &waits = {});
    // Called with the dialog after its set-up, before it runs (tests script it from here).
    void setDialogHook(std::function<void(CNuboDialogBkLightSettings &)> hook)
    {
        m_hook = std::move(hook);
    }

    // Asked before the dialog's Read and Write (see CNuboDialogBkLightSettings::setDeviceGate).
    void setDeviceGate(std::function<bool()> refuses) { m_refuses = std::move(refuses); }

    // The one place where colours confirmed in the dialog (OK, Write) reach the configuration;
    // run() makes them one undo step.
    void store(const LightSettings &lights);

private:
    AppState &m_state;
    const DialogContext m_context;
    DeviceAccess m_device;
    std::function<void(CNuboDialogBkLightSettings &)> m_hook;
    std::function<bool()> m_refuses;
};
