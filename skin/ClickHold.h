#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Holds a button release back for a short time, so that a double click counts once: the
// release runs when the time is up, unless a double click arrives first and drops it.
class ClickHold : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void(int index)>;

    ClickHold(int holdMs, Action action, QObject *parent = nullptr);

    // A release on table entry `index`; one still held runs first.
    void hold(int index);
    // A double click arrived, or the window closes: the held release is dropped.
    void drop();
    bool isHolding() const { return m_timer.isActive(); }
    // Runs a held release now (tests, or a window about to close).
    void runNow();
    int holdMs() const { return m_timer.interval(); }

private:
    QTimer m_timer;
    Action m_action;
    int m_index = -1;
};
