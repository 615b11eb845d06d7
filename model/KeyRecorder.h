#pragma once

#include "model/ActionList.h"
#include "model/HookEventDecoder.h"

#include <array>
#include <cstdint>
#include <optional>

class KeyCatalogue;

// What the key settings dialog records from the keyboard; at most one at a time.
enum class RecordingKind { None, SingleKey, Combination, Macro, Emulation };

// Turns the hook messages of one recording into steps: the single key, the keys of a
// combination or emulation, or a macro's presses, releases and the delays between them. A key
// held down records one press however long it repeats; the delay before a step is the time
// since the step before it.
class KeyRecorder {
public:
    // What one message did.
    struct Outcome {
        bool changed = false;    // the single key or the steps changed
        bool unknownKey = false; // the single key is not on the keyboard
        int hookKey = 0;         // for unknownKey: the key typed, its code, what it became
        int code = 0;
        int key = 0;
    };

    explicit KeyRecorder(const KeyCatalogue &catalogue);
    // The decoder reads the key states of its own recorder.
    KeyRecorder(const KeyRecorder &) = delete;
    KeyRecorder &operator=(const KeyRecorder &) = delete;

    // Forgets the keys held and the previous event, as a recording starts.
    void reset();
    // One hook message, with the keystroke's time where the message carries it. `entry` is
    // the combination, macro or emulation recorded; `singleKey` the captured key.
    Outcome record(RecordingKind kind, std::uintptr_t wParam, std::intptr_t lParam,
                   std::optional<std::uint32_t> eventTimeMs, ActionList &entry, int &singleKey);

    // The end of a macro recording: a macro with recorded delays ends on "<50 ms>", where the
    // limit leaves room.
    static void finishMacro(ActionList &macro);
    static constexpr int FinalDelayMs = 50;

private:
    // Presses of keys already down (auto-repeat) and releases of keys not down are dropped.
    bool acceptsPressOrRelease(int hookKey, bool up);
    void trackKeyState(std::uintptr_t wParam);

    const KeyCatalogue &m_catalogue;
    HookEventDecoder m_decoder;
    std::array<bool, 256> m_down{};
    std::array<int, 256> m_keyStates{}; // as the platform keeps them, for the Shift rule
    long long m_sinceLastStep = 0;      // ms since the last recorded step
};
