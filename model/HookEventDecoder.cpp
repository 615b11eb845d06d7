#include "model/HookEventDecoder.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int ShiftKey = 16;
constexpr int LeftShiftKey = 160;
constexpr int RightShiftKey = 161;
constexpr int EnterKey = 13;

} // namespace

HookEventDecoder::HookEventDecoder(KeyState keyState, Clock clock)
    : m_keyState(std::move(keyState))
    , m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] {
            return std::chrono::steady_clock::now();
        };
}

void HookEventDecoder::reset()
{
    m_previousKey = -1;
    m_hasPreviousTime = false;
    m_previousEventTime.reset();
}

HookEvent HookEventDecoder::decodeHookEvent(std::uintptr_t wParam, std::intptr_t lParam,
                                            std::optional<std::uint32_t> eventTimeMs)
{
    const bool up = (wParam >> 31) & 1;
    const bool extended = (lParam >> 24) & 1;
    int vk = int(wParam & 0xFF);

    const auto now = m_clock();
    int elapsed = 0;
    if (m_hasPreviousTime && eventTimeMs && m_previousEventTime) {
        // Differences of a wrapping clock; one that went back reads as no time at all.
        const std::uint32_t ms = *eventTimeMs - *m_previousEventTime;
        elapsed = ms > 0x80000000u ? 0 : int(std::min<std::uint32_t>(ms, MaxElapsedMs));
    } else if (m_hasPreviousTime) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_previousTime);
        elapsed = int(std::clamp<std::chrono::milliseconds::rep>(ms.count(), 0, MaxElapsedMs));
    }

    if (vk == ShiftKey)
        vk = shiftSide(up);

    int key = (up ? ReleaseBit : 0) + vk;
    if (vk == EnterKey && extended)
        key += KeypadEnterBit;

    const HookEvent event{key, up, elapsed, m_previousKey};
    m_previousKey = key;
    m_previousTime = now;
    m_previousEventTime = eventTimeMs;
    m_hasPreviousTime = true;
    return event;
}

// The generic Shift code says nothing about the side; the key states do.
int HookEventDecoder::shiftSide(bool up)
{
    const int left = m_keyState ? m_keyState(LeftShiftKey) : 0;
    const int right = m_keyState ? m_keyState(RightShiftKey) : 0;
    if (up) {
        // A press flips a key's toggle bit, so the side released is one whose state changed
        // since the last Shift release; when both changed, the one no longer down.
        const bool leftChanged = left != m_leftShiftAtRelease;
        const bool rightChanged = right != m_rightShiftAtRelease;
        int side = ShiftKey;
        if (leftChanged && !(left & KeyDownBit))
            side = LeftShiftKey;
        else if (rightChanged && !(right & KeyDownBit))
            side = RightShiftKey;
        else if (leftChanged)
            side = LeftShiftKey;
        else if (rightChanged)
            side = RightShiftKey;
        m_leftShiftAtRelease = left;
        m_rightShiftAtRelease = right;
        return side;
    }
    if (left & KeyDownBit)
        return LeftShiftKey;
    if (right & KeyDownBit)
        return RightShiftKey;
    return ShiftKey;
}
