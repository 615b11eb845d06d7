#include "skin/DialogMessageTarget.h"

#include "skin/PostedMessage.h"

#include <QCoreApplication>

DialogMessageTarget::DialogMessageTarget(QObject *receiver)
    : m_receiver(receiver)
{}

void DialogMessageTarget::post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam)
{
    // postEvent is thread-safe; the lock only keeps the receiver alive while it is called.
    std::lock_guard lock(m_mutex);
    if (!m_receiver)
        return;
    auto *event = new PostedMessage(message, wParam, lParam);
    event->published();
    QCoreApplication::postEvent(m_receiver, event);
}

void DialogMessageTarget::postTimed(unsigned int message, std::uintptr_t wParam,
                                    std::intptr_t lParam, std::uint32_t timeMs)
{
    std::lock_guard lock(m_mutex);
    if (!m_receiver)
        return;
    auto *event = new PostedMessage(message, wParam, lParam);
    event->setEventTime(timeMs);
    event->published();
    QCoreApplication::postEvent(m_receiver, event);
}

void DialogMessageTarget::detach()
{
    std::lock_guard lock(m_mutex);
    m_receiver = nullptr;
}

bool DialogMessageTarget::isAttached() const
{
    std::lock_guard lock(m_mutex);
    return m_receiver != nullptr;
}
