#pragma once

#include <quillodev/MessageTarget.h>

class QWidget;

// Where a recording's key strokes come from: the device library's global hook when it can
// open the keyboards, else the dialog's own keyboard grab. Whatever was taken is given back
// when the recording stops and, at the latest, when the hook object goes with its dialog.
class RecordingHook {
public:
    // The global hook's two calls; tests put fakes in their place.
    struct GlobalHook {
        bool (*install)(WindowHandle window);
        bool (*uninstall)();
    };
    static GlobalHook libraryHook();

    RecordingHook(QWidget *dialog, WindowHandle target, GlobalHook hook = libraryHook());
    // Takes effect at the next start.
    void setGlobalHook(GlobalHook hook) { m_hook = hook; }
    ~RecordingHook();
    RecordingHook(const RecordingHook &) = delete;
    RecordingHook &operator=(const RecordingHook &) = delete;

    // Takes the keyboard for the dialog; true when the global hook took it.
    bool start();
    void stop();
    bool isActive() const { return m_global || m_grabbed; }
    bool usesGlobalHook() const { return m_global; }

private:
    QWidget *m_dialog;
    WindowHandle m_target;
    GlobalHook m_hook;
    bool m_global = false;
    bool m_grabbed = false;
};
