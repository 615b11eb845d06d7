#include "skin/ClickHold.h"

ClickHold::ClickHold(int holdMs, Action action, QObject *parent)
    : QObject(parent)
    , m_action(std::move(action))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(holdMs);
    connect(&m_timer, &QTimer::timeout, this, &ClickHold::runNow);
}

void ClickHold::hold(int index)
{
    // A click elsewhere before the time is up is no double click: the first one still counts.
    if (isHolding())
        runNow();
    m_index = index;
    m_timer.start();
}

void ClickHold::drop()
{
    m_timer.stop();
    m_index = -1;
}

void ClickHold::runNow()
{
    m_timer.stop();
    const int index = m_index;
    m_index = -1;
    if (index >= 0 && m_action)
        m_action(index);
}
