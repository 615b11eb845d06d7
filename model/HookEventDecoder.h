#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// One keystroke seen by a recording window. `key` is a HookKeyCode: bits 0..7 the virtual
// key, bit 8 the keypad Enter, bit 9 a release.
struct HookEvent {
    int key = 0;
    bool up = false;
    int elapsedMs = 0;    // since the previous event, at most 65535; 0 for the first one
    int previousKey = -1; // the previous event's HookKeyCode, -1 when there was none
};

// Turns the hook's posted messages into HookKeyCodes and measures the time between them: from
// the keystrokes' own times where the messages carry them (so that a busy window neither
// stretches nor squeezes the delays), else from when they are handled. The clock and the
// key-state query are injected so that recordings can be replayed.
class HookEventDecoder {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // State of a virtual key as the platform keeps it: bit 15 set while the key is down,
    // bit 0 flipping at every press.
    using KeyState = std::function<int(int virtualKey)>;
    static constexpr int KeyDownBit = 0x8000;

    static constexpr int ReleaseBit = 0x200;
    static constexpr int KeypadEnterBit = 0x100;
    static constexpr int MaxElapsedMs = 65535;

    // Without a clock the steady clock is used.
    explicit HookEventDecoder(KeyState keyState, Clock clock = {});

    // Forgets the previous event, as at the start of a recording.
    void reset();
    // Decodes one HookKeyMessage and remembers it as the previous event. `eventTimeMs` is when
    // the keystroke happened, on its source's millisecond clock (wrapping at 2^32).
    HookEvent decodeHookEvent(std::uintptr_t wParam, std::intptr_t lParam,
                              std::optional<std::uint32_t> eventTimeMs = std::nullopt);

    int previousKey() const { return m_previousKey; }

private:
    int shiftSide(bool up);

    KeyState m_keyState;
    Clock m_clock;
    int m_previousKey = -1;
    bool m_hasPreviousTime = false;
    std::chrono::steady_clock::time_point m_previousTime;
    std::optional<std::uint32_t> m_previousEventTime;
    int m_leftShiftAtRelease = 0;
    int m_rightShiftAtRelease = 0;
};
