#include <quillodev/EvdevKeyStream.h>

namespace {

constexpr unsigned short LeftAlt = 56;
constexpr unsigned short RightAlt = 100;

} // namespace

bool EvdevKeyStream::translate(unsigned short code, int value, std::uint32_t timeMs,
                               std::uintptr_t &message, KeyboardEvent &event)
{
    const bool isLeft = code == LeftAlt;
    const bool isRight = code == RightAlt;
    // An Alt key's own press is a system key by itself; what counts here is the other one.
    const bool otherAlt = isLeft ? m_rightAlt : isRight ? m_leftAlt : m_leftAlt || m_rightAlt;
    const bool known = keyboardEventFromEvdev(code, value, otherAlt, message, event);
    if (known)
        event.time = timeMs;
    if (isLeft && value >= 0 && value <= 2)
        m_leftAlt = value != 0;
    if (isRight && value >= 0 && value <= 2)
        m_rightAlt = value != 0;
    return known;
}

bool EvdevKeyStream::hookMessage(unsigned short code, int value, std::uintptr_t &wParam,
                                 std::intptr_t &lParam)
{
    std::uintptr_t message = 0;
    KeyboardEvent event{};
    if (!translate(code, value, 0, message, event))
        return false;
    hookMessageOf(message, event, wParam, lParam);
    return true;
}

void EvdevKeyStream::reset()
{
    m_leftAlt = false;
    m_rightAlt = false;
}
