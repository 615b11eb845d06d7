#include "keymap/RecordingHook.h"

#include <quillodev/KeyboardHook.h>

#include <QWidget>

RecordingHook::GlobalHook RecordingHook::libraryHook()
{
    return {&InstallHook, &UninstallHook};
}

RecordingHook::RecordingHook(QWidget *dialog, WindowHandle target, GlobalHook hook)
    : m_dialog(dialog)
    , m_target(target)
    , m_hook(hook)
{}

RecordingHook::~RecordingHook()
{
    stop();
}

bool RecordingHook::start()
{
    if (isActive())
        return m_global;
    m_global = m_hook.install && m_hook.install(m_target);
    if (!m_global) {
        m_dialog->grabKeyboard();
        m_grabbed = true;
    }
    return m_global;
}

void RecordingHook::stop()
{
    if (m_global && m_hook.uninstall)
        m_hook.uninstall();
    if (m_grabbed && m_dialog)
        m_dialog->releaseKeyboard();
    m_global = false;
    m_grabbed = false;
}
