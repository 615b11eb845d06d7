#include "keymap/KeySettingsRecording.h"

#include "keymap/KeySettingsModel.h"
#include "layout/KeySettingsTable.h"
#include "skin/PostedMessage.h"

using namespace KeySettingsTable;

namespace {

constexpr int EscapeKey = 0x1B;
constexpr std::uintptr_t ReleaseBit = 0x80000000u;

} // namespace

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
    m_escapeHold.setSingleShot(true);
    m_escapeHold.setInterval(StopHoldMs);
    connect(&m_escapeHold, &QTimer::timeout, this, &KeySettingsRecording::escapeHeld);
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
    m_awaitingEscapeUp = false;
    m_hook.start();
    emit changed();
    return true;
}

void KeySettingsRecording::stop()
{
    m_escapeHold.stop();
    m_awaitingEscapeUp = false;
    m_hook.stop();
    if (m_model.isRecording()) {
        m_model.stopRecording();
        emit changed();
    }
}

void KeySettingsRecording::pause()
{
    m_escapeHold.stop();
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
    const bool escape = (wParam & 0xFF) == EscapeKey;
    const bool release = (wParam & ReleaseBit) != 0;
    // Keystrokes still queued when a recording stopped belong to none.
    if (!m_model.isRecording()) {
        if (m_awaitingEscapeUp && escape && release) {
            m_awaitingEscapeUp = false;
            m_hook.stop();
        }
        return;
    }
    // Esc starts the time of a stop, its repeats keep it going, anything else ends it.
    if (escape && !release) {
        if (!m_escapeHold.isActive()) {
            m_beforeEscape = m_model.recordingMark();
            m_escapeHold.start();
        }
    } else {
        m_escapeHold.stop();
    }
    const KeyRecorder::Outcome outcome = m_model.hookMessage(wParam, lParam, eventTimeMs);
    if (outcome.unknownKey)
        emit unknownKey(
            QString::asprintf("a=%d, b=%d, c=%d", outcome.hookKey, outcome.code, outcome.key));
    if (outcome.changed)
        emit recorded();
}

void KeySettingsRecording::escapeHeld()
{
    if (!m_model.isRecording())
        return;
    m_model.rollBack(m_beforeEscape);
    m_model.stopRecording();
    m_awaitingEscapeUp = m_hook.isActive();
    emit changed();
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
