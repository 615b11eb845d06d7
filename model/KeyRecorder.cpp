#include "model/KeyRecorder.h"

#include "model/KeyCatalogue.h"
#include "model/StepEditing.h"
#include "model/StepText.h"

#include <algorithm>

namespace {

constexpr int ShiftKey = 16;
constexpr int VirtualKeyMask = 0xFF;
constexpr std::uintptr_t ReleaseBit = 0x80000000u;

bool contains(const ActionList &entry, const std::string &name)
{
    return std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end();
}

} // namespace

KeyRecorder::KeyRecorder(const KeyCatalogue &catalogue)
    : m_catalogue(catalogue)
    , m_decoder([this](int vk) { return m_keyStates[std::size_t(vk & VirtualKeyMask)]; })
{}

void KeyRecorder::reset()
{
    m_decoder.reset();
    m_down.fill(false);
    m_sinceLastStep = 0;
}

// The platform's key states, kept from the messages themselves: bit 15 while down, bit 0
// flipping at every press. The generic Shift says nothing about a side, so it changes none.
void KeyRecorder::trackKeyState(std::uintptr_t wParam)
{
    const int vk = int(wParam & VirtualKeyMask);
    if (vk == ShiftKey)
        return;
    int &state = m_keyStates[std::size_t(vk)];
    if (wParam & ReleaseBit)
        state &= ~HookEventDecoder::KeyDownBit;
    else if (!(state & HookEventDecoder::KeyDownBit))
        state = (state ^ 1) | HookEventDecoder::KeyDownBit;
}

bool KeyRecorder::acceptsPressOrRelease(int hookKey, bool up)
{
    bool &down = m_down[std::size_t(hookKey & VirtualKeyMask)];
    if (down != up)
        return false;
    down = !down;
    return true;
}

KeyRecorder::Outcome KeyRecorder::record(RecordingKind kind, std::uintptr_t wParam,
                                         std::intptr_t lParam,
                                         std::optional<std::uint32_t> eventTimeMs,
                                         ActionList &entry, int &singleKey)
{
    trackKeyState(wParam);
    const HookEvent event = m_decoder.decodeHookEvent(wParam, lParam, eventTimeMs);
    m_sinceLastStep
        = std::min<long long>(m_sinceLastStep + event.elapsedMs, HookEventDecoder::MaxElapsedMs);
    const bool samePress = !event.up && event.key == event.previousKey;
    // Keys the name table does not know would only become steps that do nothing.
    const bool named = m_catalogue.nameOfKey(event.key & 0x1FF) != nullptr;

    Outcome outcome;
    switch (kind) {
    case RecordingKind::SingleKey:
        if (event.up || samePress)
            break;
        outcome.changed = true;
        outcome.hookKey = event.key;
        outcome.code = m_catalogue.codeOfKey(event.key);
        outcome.key = m_catalogue.keyOfCode(outcome.code);
        outcome.unknownKey = outcome.key != event.key;
        singleKey = outcome.key;
        break;
    case RecordingKind::Combination: {
        if (event.up || samePress || !named || entry.size() >= StepEditing::MaxComboKeys)
            break;
        // Keys sent together: a key twice would add nothing.
        const std::string name = StepText::stepText(m_catalogue, event.key, false);
        if (contains(entry, name))
            break;
        entry.append(name);
        outcome.changed = true;
        break;
    }
    case RecordingKind::Emulation:
        if (!acceptsPressOrRelease(event.key, event.up) || event.up || samePress || !named
            || entry.size() >= StepEditing::MaxEmulationKeys)
            break;
        entry.append(StepText::stepText(m_catalogue, event.key, false));
        outcome.changed = true;
        break;
    case RecordingKind::Macro:
        if (!acceptsPressOrRelease(event.key, event.up) || !named)
            break;
        // No delay before the first step; between steps the time since the step before,
        // however many repeats came in between.
        if (entry.size() > 0 && !entry.autoDelay && entry.size() < StepEditing::MaxStepsWithDelays)
            entry.append(StepText::delayStep(int(m_sinceLastStep)));
        if (entry.size() < StepEditing::stepLimit(entry))
            entry.append(StepText::stepText(m_catalogue, event.key, true));
        m_sinceLastStep = 0;
        outcome.changed = true;
        break;
    case RecordingKind::None:
        break;
    }
    return outcome;
}

void KeyRecorder::finishMacro(ActionList &macro)
{
    if (macro.size() > 0 && !macro.autoDelay && macro.size() < StepEditing::MaxStepsWithDelays)
        macro.append(StepText::delayStep(FinalDelayMs));
}
