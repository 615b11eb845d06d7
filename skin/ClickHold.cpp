#include "skin/ClickHold.h"

#include <QApplication>
#include <QWidget>

namespace {

bool isKeyInput(QEvent::Type type)
{
    return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::InputMethod;
}

bool within(const QWidget *widget, const QWidget *ancestor)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == ancestor)
            return true;
    }
    return false;
}

} // namespace

ClickHold::ClickHold(QWidget *window, int holdMs, Action action)
    : m_window(window)
    , m_action(std::move(action))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(holdMs);
    connect(&m_timer, &QTimer::timeout, this, &ClickHold::runNow);
}

ClickHold::~ClickHold()
{
    watchKeys(false);
}

void ClickHold::hold(int index)
{
    // A click elsewhere before the time is up is no double click: the first one still counts.
    if (isHolding())
        runNow();
    m_index = index;
    m_timer.start();
    watchKeys(true);
}

void ClickHold::drop()
{
    m_timer.stop();
    m_index = -1;
    // Not from here: the window may be closing, and the keys belong to what has the keyboard
    // once it has.
    if (!m_keys.empty())
        QMetaObject::invokeMethod(this, &ClickHold::deliverKeys, Qt::QueuedConnection);
}

void ClickHold::runNow()
{
    m_timer.stop();
    const int index = m_index;
    m_index = -1;
    if (index >= 0 && m_action) {
        // A release that opens a window of its own hands the keys on from within its loop.
        if (!m_keys.empty())
            QMetaObject::invokeMethod(this, &ClickHold::deliverKeys, Qt::QueuedConnection);
        m_action(index);
    }
    deliverKeys();
}

void ClickHold::deliverKeys()
{
    // A key that presses a button holds again: the keys after it wait for that release.
    while (!m_keys.empty() && !isHolding()) {
        KeptKey key = std::move(m_keys.front());
        m_keys.pop_front();
        QObject *receiver = receiverNow(key.receiver);
        if (!receiver)
            continue;
        QEvent *const outer = m_passing;
        m_passing = key.event.get();
        QCoreApplication::sendEvent(receiver, key.event.get());
        m_passing = outer;
    }
    if (m_keys.empty() && !isHolding())
        watchKeys(false);
}

QObject *ClickHold::receiverNow(QObject *original) const
{
    // Where the key would go had it been typed now: a grab (a recording), else the focus,
    // unless a modal window has come up over it.
    if (QWidget *grabber = QWidget::keyboardGrabber())
        return grabber;
    QWidget *focus = QApplication::focusWidget();
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && !within(focus, modal))
        focus = modal->focusWidget() ? modal->focusWidget() : modal;
    if (focus)
        return focus;
    auto *widget = qobject_cast<QWidget *>(original);
    return widget && widget->isVisible() ? widget : nullptr;
}

void ClickHold::watchKeys(bool on)
{
    if (on == m_watching || !QCoreApplication::instance())
        return;
    m_watching = on;
    if (on)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool ClickHold::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress;
    if ((!press && !isKeyInput(type)) || event == m_passing)
        return false;
    // Once some wait, later ones queue behind them.
    if ((!isHolding() && m_keys.empty()) || !m_window || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != m_window)
        return false;
    // A press that is no double click's: the held click counts, and acts before this one
    // finds what it is on.
    if (press) {
        if (isHolding())
            runNow();
        return false;
    }
    m_keys.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    event->accept();
    if (!isHolding())
        QMetaObject::invokeMethod(this, &ClickHold::deliverKeys, Qt::QueuedConnection);
    return true;
}
