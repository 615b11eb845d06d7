#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class QEvent;
class QWidget;

// Holds a button release back for a short time, so that a double click counts once: the
// release runs when the time is up, unless a double click arrives first and drops it.
// Keys typed into the window meanwhile are kept and delivered once the release has been
// handled, in the order they came, to whatever has the keyboard then: a click on Record takes
// the Enter typed right after it, a click on New the name typed after it. A new press in the
// window lets the held release act first, so that a quick second click lands on what the
// first one left (a button of the page a tab has just opened).
class ClickHold : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void(int index)>;

    // `window` is the one whose keys wait behind its held releases.
    ClickHold(QWidget *window, int holdMs, Action action);
    ~ClickHold() override;

    // A release on table entry `index`; one still held runs first.
    void hold(int index);
    // A double click arrived, or the window closes: the held release is dropped; the keys
    // kept behind it go on.
    void drop();
    bool isHolding() const { return m_timer.isActive(); }
    // Runs a held release now (tests, or a window about to close).
    void runNow();
    int holdMs() const { return m_timer.interval(); }
    // Keys waiting for the held release.
    std::size_t keptKeys() const { return m_keys.size(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeptKey {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    void deliverKeys();
    void watchKeys(bool on);
    QObject *receiverNow(QObject *original) const;

    QPointer<QWidget> m_window;
    QTimer m_timer;
    Action m_action;
    int m_index = -1;
    bool m_watching = false;
    QEvent *m_passing = nullptr; // a kept key on its way, not to be kept again
    std::deque<KeptKey> m_keys;
};
