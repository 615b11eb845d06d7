#pragma once

#include <quillodev/MessageTarget.h>

#include <mutex>

class QObject;

// Turns posts from any thread into PostedMessage events for one receiver. The receiver
// detaches itself before it dies; posts after that are dropped, so a worker that outlives a
// cancelled dialog posts into nothing.
class DialogMessageTarget : public MessageTarget {
public:
    explicit DialogMessageTarget(QObject *receiver);

    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void postTimed(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam,
                   std::uint32_t timeMs) override;
    void detach();
    bool isAttached() const;

private:
    mutable std::mutex m_mutex;
    QObject *m_receiver;
};
