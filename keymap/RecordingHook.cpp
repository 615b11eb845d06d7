#include "keymap/RecordingHook.h"

#include <quillodev/KeyboardHook.h>

#include <QKeyEvent>
#include <QWidget>

namespace {

// X11 and Wayland give the evdev code plus 8 as the native scan code.
constexpr quint32 EvdevOffset = 8;

} // namespace

RecordingHook::GlobalHook RecordingHook::libraryHook()
{
    return {&InstallHook, &UninstallHook};
}

RecordingHook::RecordingHook(QWidget *dialog, WindowHandle target, GlobalHook hook)
    : QObject(nullptr)
    , m_dialog(dialog)
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
        m_stream.reset();
        m_dialog->installEventFilter(this);
        // On X11 an active grab: Alt+Tab and the Super key come here too and act on nothing.
        m_dialog->grabKeyboard();
        m_grabbed = true;
    }
    return m_global;
}

void RecordingHook::stop()
{
    if (m_global && m_hook.uninstall)
        m_hook.uninstall();
    if (m_grabbed && m_dialog) {
        m_dialog->releaseKeyboard();
        m_dialog->removeEventFilter(this);
    }
    m_global = false;
    m_grabbed = false;
}

bool RecordingHook::hookMessageOf(const QKeyEvent &event, std::uintptr_t &wParam,
                                  std::intptr_t &lParam)
{
    const bool release = event.type() == QEvent::KeyRelease;
    // A held key repeats as presses, as the hook sees it; the window system's releases
    // between them are not keystrokes.
    if (release && event.isAutoRepeat())
        return false;
#if defined(Q_OS_WIN)
    // Windows gives the virtual key, and the extended flag as bit 8 of the scan code.
    wParam = (event.nativeVirtualKey() & 0xFF) | (release ? 0x80000000u : 0);
    lParam = (event.nativeScanCode() & 0x100) ? std::intptr_t(1) << 24 : 0;
    return event.nativeVirtualKey() != 0;
#else
    const quint32 scanCode = event.nativeScanCode();
    if (scanCode < EvdevOffset || scanCode - EvdevOffset > 0xFFFF)
        return false;
    const int value = release ? 0 : event.isAutoRepeat() ? 2 : 1;
    return m_stream.hookMessage(static_cast<unsigned short>(scanCode - EvdevOffset), value, wParam,
                                lParam);
#endif
}

bool RecordingHook::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_grabbed || watched != m_dialog)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Every key goes to the recording and does nothing else: no Enter for OK, no Tab.
        const auto &key = static_cast<const QKeyEvent &>(*event);
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        if (hookMessageOf(key, wParam, lParam) && m_receiver)
            m_receiver(wParam, lParam, std::uint32_t(key.timestamp()));
        return true;
    }
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    default:
        return false;
    }
}
