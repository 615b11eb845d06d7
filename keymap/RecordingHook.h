#pragma once

#include <quillodev/EvdevKeyStream.h>
#include <quillodev/MessageTarget.h>

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

// Where a recording's key strokes come from: the device library's global hook when it can
// open the keyboards, else the dialog's own keyboard grab. Keys the grab receives are turned
// into the hook's own messages (their native scan codes through the library's evdev table),
// so that both ways record the same steps. Whatever was taken is given back when the
// recording stops and, at the latest, when the hook object goes with its dialog.
class RecordingHook : public QObject {
    Q_OBJECT
public:
    // The global hook's two calls; tests put fakes in their place.
    struct GlobalHook {
        bool (*install)(WindowHandle window);
        bool (*uninstall)();
    };
    static GlobalHook libraryHook();
    // A keystroke of the grab as a HookKeyMessage, with the window system's time of it.
    using Receiver = std::function<void(std::uintptr_t wParam, std::intptr_t lParam,
                                        std::optional<std::uint32_t> eventTimeMs)>;

    RecordingHook(QWidget *dialog, WindowHandle target, GlobalHook hook = libraryHook());
    ~RecordingHook() override;
    // Takes effect at the next start.
    void setGlobalHook(GlobalHook hook) { m_hook = hook; }
    void setReceiver(Receiver receiver) { m_receiver = std::move(receiver); }

    // Takes the keyboard for the dialog; true when the global hook took it.
    bool start();
    void stop();
    bool isActive() const { return m_global || m_grabbed; }
    bool usesGlobalHook() const { return m_global; }

    // How long a release waits for the press that would make it part of a key's repeat.
    static constexpr int RepeatWaitMs = 25;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct NativeKey {
        quint32 scanCode = 0;
        quint32 virtualKey = 0;
        bool release = false;
        bool repeat = false;
        std::uint32_t timeMs = 0;
    };
    static NativeKey nativeKeyOf(const QKeyEvent &event);
    void keyEvent(const NativeKey &key);
    void deliver(const NativeKey &key);
    void deliverPendingRelease();

    QWidget *m_dialog;
    WindowHandle m_target;
    GlobalHook m_hook;
    Receiver m_receiver;
    EvdevKeyStream m_stream;
    std::optional<NativeKey> m_pendingRelease;
    QTimer m_releaseTimer;
    bool m_global = false;
    bool m_grabbed = false;
};
