#include "keymap/RecordingHook.h"

#include "keymap/WindowKeyMessage.h"

#include <quillodev/KeyboardHook.h>

#include <QKeyEvent>
#include <QWidget>

RecordingHook::GlobalHook RecordingHook::libraryHook()
{
    return {&InstallHook, &UninstallHook};
}

RecordingHook::RecordingHook(QWidget *dialog, WindowHandle target, GlobalHook hook)
    : QObject(nullptr)
    , m_dialog(dialog)
    , m_target(target)
    , m_hook(hook)
{
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(RepeatWaitMs);
    connect(&m_releaseTimer, &QTimer::timeout, this, &RecordingHook::deliverPendingRelease);
}

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
    // A release still waiting is a keystroke of the recording that ends.
    deliverPendingRelease();
    if (m_global && m_hook.uninstall)
        m_hook.uninstall();
    if (m_grabbed && m_dialog) {
        m_dialog->releaseKeyboard();
        m_dialog->removeEventFilter(this);
    }
    m_global = false;
    m_grabbed = false;
}

RecordingHook::NativeKey RecordingHook::nativeKeyOf(const QKeyEvent &event)
{
    NativeKey key;
    key.scanCode = event.nativeScanCode();
    key.virtualKey = event.nativeVirtualKey();
    key.release = event.type() == QEvent::KeyRelease;
    key.repeat = event.isAutoRepeat();
    key.timeMs = std::uint32_t(event.timestamp());
    return key;
}

// A held key repeats as presses, as the hook sees it. The window system may put a release
// before each repeated press, at the same moment; such a release is no keystroke. Where it is
// not marked as a repeat, it waits a moment for the press that gives it away.
void RecordingHook::keyEvent(const NativeKey &key)
{
    if (key.release && key.repeat)
        return;
    if (m_pendingRelease) {
        const NativeKey release = *m_pendingRelease;
        const std::uint32_t apart = key.timeMs - release.timeMs;
        if (!key.release && key.scanCode == release.scanCode && (apart <= 1 || apart == ~0u)) {
            m_pendingRelease.reset();
            m_releaseTimer.stop();
            NativeKey repeated = key;
            repeated.repeat = true;
            deliver(repeated);
            return;
        }
        deliverPendingRelease();
    }
    if (key.release) {
        m_pendingRelease = key;
        m_releaseTimer.start();
        return;
    }
    deliver(key);
}

void RecordingHook::deliverPendingRelease()
{
    m_releaseTimer.stop();
    if (!m_pendingRelease)
        return;
    const NativeKey release = *m_pendingRelease;
    m_pendingRelease.reset();
    deliver(release);
}

void RecordingHook::deliver(const NativeKey &key)
{
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    if (!windowKeyMessage({key.scanCode, key.virtualKey, key.release, key.repeat}, m_stream, wParam,
                          lParam))
        return;
    if (m_receiver)
        m_receiver(wParam, lParam, key.timeMs);
}

bool RecordingHook::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_grabbed || watched != m_dialog)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Every key goes to the recording and does nothing else: no Enter for OK, no Tab.
        keyEvent(nativeKeyOf(static_cast<const QKeyEvent &>(*event)));
        return true;
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    default:
        return false;
    }
}
