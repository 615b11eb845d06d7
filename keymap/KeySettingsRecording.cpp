#include "keymap/KeySettingsRecording.h"

#include "keymap/KeySettingsModel.h"
#include "layout/KeySettingsTable.h"
#include "skin/PostedMessage.h"

using namespace KeySettingsTable;

KeySettingsRecording::KeySettingsRecording(QWidget *dialog, WindowHandle target,
                                           KeySettingsModel &model)
    : QObject(nullptr)
    , m_model(model)
    , m_hook(dialog, target)
{
    m_hook.setReceiver(
        [this](std::uintptr_t wParam, std::intptr_t lParam, std::optional<std::uint32_t> timeMs) {
            hookMessage(wParam, lParam, timeMs);
        });
}

KeySettingsRecording::~KeySettingsRecording()
{
    // The keyboard goes back; nothing is recorded any more.
    m_hook.setReceiver({});
    m_hook.stop();
}

RecordingKind KeySettingsRecording::kindOfButton(int id)
{
    switch (id) {
    case CaptureKeyButton:
        return RecordingKind::SingleKey;
    case RecordComboButton:
        return RecordingKind::Combination;
    case RecordMacroButton:
        return RecordingKind::Macro;
    case RecordEmuButton:
        return RecordingKind::Emulation;
    default:
        return RecordingKind::None;
    }
}

bool KeySettingsRecording::start(int recordButtonId)
{
    if (m_model.isRecording() || !m_model.startRecording(kindOfButton(recordButtonId)))
        return false;
    m_hook.start();
    emit changed();
    return true;
}

void KeySettingsRecording::stop()
{
    m_hook.stop();
    if (m_model.isRecording()) {
        m_model.stopRecording();
        emit changed();
    }
}

void KeySettingsRecording::pause()
{
    m_hook.stop();
}

void KeySettingsRecording::resume()
{
    if (m_model.isRecording())
        m_hook.start();
}

void KeySettingsRecording::hookMessage(std::uintptr_t wParam, std::intptr_t lParam,
                                       std::optional<std::uint32_t> eventTimeMs)
{
    // Keystrokes still queued when a recording stopped belong to none.
    if (!m_model.isRecording())
        return;
    const KeyRecorder::Outcome outcome = m_model.hookMessage(wParam, lParam, eventTimeMs);
    if (outcome.unknownKey)
        emit unknownKey(
            QString::asprintf("a=%d, b=%d, c=%d", outcome.hookKey, outcome.code, outcome.key));
    if (outcome.changed)
        emit recorded();
}

bool KeySettingsRecording::handleEvent(QEvent *event)
{
    if (event->type() != QEvent::Type(quillodev::HookKeyMessage))
        return false;
    const auto *message = dynamic_cast<const PostedMessage *>(event);
    if (!message)
        return false;
    hookMessage(message->wParam(), message->lParam(), message->eventTime());
    return true;
}
