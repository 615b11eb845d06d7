#include "device/linux/HidrawUtil.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <poll.h>
#include <unistd.h>

namespace quillodev {

namespace {

// Waits for the descriptor to become readable, resuming after signals within the same budget.
bool waitReadable(int fd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = left.count() > 0 ? int(left.count()) : 0;
        }
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        return (entry.revents & POLLIN) != 0;
    }
}

} // namespace

HidrawUtil::HidrawUtil(int fd)
    : m_fd(fd)
{}

HidrawUtil::~HidrawUtil()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool HidrawUtil::writeReport(const unsigned char *report, unsigned int length)
{
    if (m_fd < 0 || !report)
        return false;
    for (;;) {
        const ssize_t written = ::write(m_fd, report, length);
        if (written < 0 && errno == EINTR)
            continue;
        return written == ssize_t(length);
    }
}

bool HidrawUtil::readReport(unsigned char *buffer, unsigned int &length, int timeoutMs)
{
    if (m_fd < 0 || !buffer)
        return false;
    if (!waitReadable(m_fd, timeoutMs))
        return false;
    // Room for a report longer than the keyboard's; whatever does not fit the caller is cut.
    unsigned char report[256];
    ssize_t received;
    do {
        received = ::read(m_fd, report, sizeof report);
    } while (received < 0 && errno == EINTR);
    if (received <= 0)
        return false;
    const unsigned int copied = std::min(length, static_cast<unsigned int>(received));
    std::memcpy(buffer, report, copied);
    std::memset(buffer + copied, 0, length - copied);
    length = copied;
    return true;
}

} // namespace quillodev
