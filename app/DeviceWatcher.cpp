#include "app/DeviceWatcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#if defined(Q_OS_LINUX)
#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

DeviceWatcher::DeviceWatcher(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &DeviceWatcher::deviceChanged);

#if defined(Q_OS_LINUX)
    m_socket
        = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
    if (m_socket < 0)
        return;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = 1; // the kernel's uevent broadcast group
    if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DeviceWatcher::drain);
    m_watching = true;
#elif defined(Q_OS_WIN)
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_watching = true;
#endif
}

DeviceWatcher::~DeviceWatcher()
{
#if defined(Q_OS_LINUX)
    delete m_notifier;
    if (m_socket >= 0)
        ::close(m_socket);
#elif defined(Q_OS_WIN)
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
#endif
}

void DeviceWatcher::drain()
{
#if defined(Q_OS_LINUX)
    // Any uevent counts; its content does not matter, the facade looks for the keyboard itself.
    char buffer[8192];
    while (::recv(m_socket, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
    }
#endif
    m_settle.start();
}

bool DeviceWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
#if defined(Q_OS_WIN)
    if (eventType == "windows_generic_MSG"
        && static_cast<const MSG *>(message)->message == WM_DEVICECHANGE)
        m_settle.start();
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false;
}
