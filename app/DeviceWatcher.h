#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

// Tells when devices come or go. On Linux it listens to the kernel's uevents, on Windows to the
// device-change message. A burst of notifications (one plug yields several) is reported once,
// after it settles.
class DeviceWatcher : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    static constexpr int SettleMs = 250;

    explicit DeviceWatcher(QObject *parent = nullptr);
    ~DeviceWatcher() override;

    // False when the platform's notifications could not be subscribed to.
    bool isWatching() const { return m_watching; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void deviceChanged();

private:
    void drain();

    int m_socket = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_settle;
    bool m_watching = false;
};
