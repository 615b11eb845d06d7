#include "device/linux/EvdevHook.h"

#include <quillodev/EvdevKeyStream.h>
#include <quillodev/KeyboardHook.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quillodev {

namespace {

constexpr size_t BitsPerLong = sizeof(unsigned long) * 8;
constexpr size_t longsFor(size_t bits)
{
    return (bits + BitsPerLong - 1) / BitsPerLong;
}

bool testBit(const unsigned long *bits, size_t bit)
{
    return (bits[bit / BitsPerLong] >> (bit % BitsPerLong)) & 1UL;
}

bool anyKeyDown(int fd)
{
    unsigned long keys[longsFor(KEY_CNT)] = {};
    if (::ioctl(fd, EVIOCGKEY(sizeof keys), keys) < 0)
        return false;
    return std::any_of(std::begin(keys), std::end(keys), [](unsigned long k) { return k != 0; });
}

void drain(int fd)
{
    char scratch[4096];
    while (::read(fd, scratch, sizeof scratch) > 0) {
    }
}

// Per descriptor: bytes of an event that arrived in pieces.
struct Reader {
    int fd;
    std::vector<char> pending;
};

} // namespace

EvdevHook::EvdevHook(std::string inputDir)
    : m_inputDir(std::move(inputDir))
{}

EvdevHook::~EvdevHook()
{
    stop();
}

bool EvdevHook::isKeyboard(int fd)
{
    unsigned long types[longsFor(EV_CNT)] = {};
    unsigned long keys[longsFor(KEY_CNT)] = {};
    if (::ioctl(fd, EVIOCGBIT(0, sizeof types), types) < 0 || !testBit(types, EV_KEY))
        return false;
    if (::ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys) < 0)
        return false;
    return testBit(keys, KEY_A) && testBit(keys, KEY_Z) && testBit(keys, KEY_SPACE);
}

bool EvdevHook::start()
{
    if (running())
        return true;
    std::vector<int> fds;
    std::error_code error;
    for (std::filesystem::directory_iterator it(m_inputDir, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().rfind("event", 0) != 0)
            continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (isKeyboard(fd)) {
            // Event times on the monotonic clock: setting the wall clock mid-recording must
            // not stretch a delay.
            int clock = CLOCK_MONOTONIC;
            ::ioctl(fd, EVIOCSCLOCKID, &clock);
            fds.push_back(fd);
        } else
            ::close(fd);
    }
    if (fds.empty())
        return false;

    // Grabbing a key that is still down (the Enter that started the recording) would leave it
    // stuck on the desktop, which never sees its release: wait a moment for such keys.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < deadline
           && std::any_of(fds.begin(), fds.end(), anyKeyDown))
        ::usleep(10'000);

    for (int fd : fds) {
        if (::ioctl(fd, EVIOCGRAB, 1) == 0)
            m_grabbed.push_back(fd);
        // What arrived before the grab went to the desktop as well.
        drain(fd);
    }
    if (startReading(std::move(fds)))
        return true;
    m_grabbed.clear();
    return false;
}

bool EvdevHook::startReading(std::vector<int> fds)
{
    if (running() || fds.empty() || ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        for (int fd : fds)
            ::close(fd);
        return false;
    }
    m_fds = std::move(fds);
    m_thread = std::thread([this] { run(); });
    return true;
}

void EvdevHook::stop()
{
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &wake, 1);
        m_thread.join();
    }
    for (int fd : m_grabbed)
        ::ioctl(fd, EVIOCGRAB, 0);
    m_grabbed.clear();
    for (int fd : m_fds)
        ::close(fd);
    m_fds.clear();
    for (int &fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void EvdevHook::run()
{
    std::vector<Reader> readers;
    for (int fd : m_fds)
        readers.push_back({fd, {}});
    EvdevKeyStream stream;

    for (;;) {
        std::vector<pollfd> entries;
        entries.push_back({m_wake[0], POLLIN, 0});
        for (const Reader &reader : readers)
            entries.push_back({reader.fd, POLLIN, 0});
        if (::poll(entries.data(), entries.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (entries[0].revents != 0)
            return;

        for (size_t i = readers.size(); i-- > 0;) {
            const short revents = entries[i + 1].revents;
            if (revents == 0)
                continue;
            Reader &reader = readers[i];
            char bytes[64 * sizeof(input_event)];
            const ssize_t received = ::read(reader.fd, bytes, sizeof bytes);
            if (received < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (received <= 0) {
                // Unplugged or closed: stop listening to it, keep the others.
                readers.erase(readers.begin() + long(i));
                continue;
            }
            reader.pending.insert(reader.pending.end(), bytes, bytes + received);
            size_t used = 0;
            for (; reader.pending.size() - used >= sizeof(input_event);
                 used += sizeof(input_event)) {
                input_event event;
                std::memcpy(&event, reader.pending.data() + used, sizeof event);
                if (event.type != EV_KEY)
                    continue;
                std::uintptr_t message = 0;
                KeyboardEvent record{};
                const auto timeMs = std::uint32_t(std::uint64_t(event.input_event_sec) * 1000
                                                  + std::uint64_t(event.input_event_usec) / 1000);
                if (stream.translate(event.code, event.value, timeMs, message, record))
                    KeyBoardProc(0, message, reinterpret_cast<std::intptr_t>(&record));
            }
            reader.pending.erase(reader.pending.begin(), reader.pending.begin() + long(used));
        }
    }
}

} // namespace quillodev
