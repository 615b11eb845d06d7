#pragma once

#include "keymap/KeySettingsModel.h"
#include "keymap/RecordingHook.h"
#include "model/KeyRecorder.h"

#include <QObject>
#include <QTimer>

class QEvent;
class QWidget;

// The key settings dialog's capture of a single key and its recordings of a combination, macro
// or emulation: the keyboard is taken while one runs, and every keystroke, from the library's
// hook or the dialog's own grab, goes into the model's recording. Esc held down alone for a
// second stops it, without that Esc: every other key, Esc, Enter and Tab included, is
// recorded, so this is the one way out from the keyboard.
class KeySettingsRecording : public QObject {
    Q_OBJECT
public:
    KeySettingsRecording(QWidget *dialog, WindowHandle target, KeySettingsModel &model);
    ~KeySettingsRecording() override;

    RecordingHook &hook() { return m_hook; }

    // What a Record button records (104, 107, 207, 302); None for other ids.
    static RecordingKind kindOfButton(int id);
    // Starts what the button records; false when it cannot start or one runs already.
    bool start(int recordButtonId);
    // Ends the running one, if any, and gives the keyboard back.
    void stop();
    // Gives the keyboard back for a while (a message over the dialog) and takes it again; the
    // recording goes on meanwhile, without keys.
    void pause();
    void resume();
    void hookMessage(std::uintptr_t wParam, std::intptr_t lParam,
                     std::optional<std::uint32_t> eventTimeMs);
    // A hook message posted to the dialog is handled here; false for other events.
    bool handleEvent(QEvent *event);

    static constexpr int StopHoldMs = 1000;

signals:
    // Started or stopped.
    void changed();
    // A keystroke changed what is recorded.
    void recorded();
    // A captured key is not on the keyboard: the message that says so.
    void unknownKey(const QString &text);

private:
    void escapeHeld();

    KeySettingsModel &m_model;
    RecordingHook m_hook;
    QTimer m_escapeHold;
    KeySettingsModel::RecordingMark m_beforeEscape;
    // Stopped by a held Esc: the keyboard stays taken until Esc is let go, so that its
    // repeats do not reach the dialog and cancel it.
    bool m_awaitingEscapeUp = false;
};
