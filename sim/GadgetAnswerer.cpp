#include "sim/GadgetAnswerer.h"

#include "sim/SimKeyboard.h"
#include "sim/TracingBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillosim {

namespace {

// Room to tell a report that is too long from one that fits.
constexpr std::size_t ReadRoom = 2 * PayloadSize;
// An unbound gadget never says it can take a report, and only a write tells it is unbound:
// while an answer waits, it is tried this often.
constexpr int CableProbeMs = 100;
constexpr std::chrono::microseconds AnswerInterval{1000};

std::string reason(int error)
{
    return std::strerror(error);
}

bool retry(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

} // namespace

GadgetAnswerer::GadgetAnswerer(int device, std::shared_ptr<SimKeyboard> keyboard)
    : m_fd(device)
    , m_keyboard(std::move(keyboard))
    , m_log([](const std::string &line) { std::fprintf(stderr, "%s\n", line.c_str()); })
{
    // Never block in a read or write: a stop request must be heard at once.
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(m_fd, F_SETFL, flags | O_NONBLOCK);
    m_connection = m_keyboard->connect();
}

GadgetAnswerer::~GadgetAnswerer()
{
    m_keyboard->setTraceObserver({});
}

void GadgetAnswerer::setTrace(std::shared_ptr<ReportTrace> trace)
{
    if (!trace) {
        m_keyboard->setTraceObserver({});
        return;
    }
    auto told = std::make_shared<bool>(false);
    m_keyboard->setTraceObserver([this, trace, told](const TraceEntry &entry) {
        trace->record(entry.direction == TraceEntry::Direction::Written ? '>' : '<',
                      entry.bytes.data(), unsigned(entry.bytes.size()));
        if (*told)
            return;
        if (const std::string failure = trace->failure(); !failure.empty()) {
            *told = true;
            log("cannot write the trace: " + failure);
        }
    });
}

void GadgetAnswerer::setLog(std::function<void(const std::string &)> log)
{
    m_log = std::move(log);
}

std::string GadgetAnswerer::run(int stop)
{
    for (;;) {
        const bool waiting = answerDue();
        const auto early = m_nextAnswer - std::chrono::steady_clock::now();
        const bool due = waiting && early <= early.zero();
        int timeout = -1;
        if (due)
            timeout = CableProbeMs;
        else if (waiting)
            timeout = int(std::chrono::ceil<std::chrono::milliseconds>(early).count());
        pollfd fds[2] = {{m_fd, short(POLLIN | (due ? POLLOUT : 0)), 0}, {stop, POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return "cannot wait for the device: " + reason(errno);
        }
        if (fds[1].revents != 0)
            return {};
        const short events = fds[0].revents;
        if (events & POLLNVAL)
            return "the device is not open";
        std::string error;
        if (((ready == 0 && due) || (events & POLLOUT)) && !answer(error))
            return error;
        if ((events & (POLLIN | POLLERR | POLLHUP)) && !receive(events, error))
            return error;
    }
}

GadgetAnswerer::Counts GadgetAnswerer::counts() const
{
    return {m_reportsIn.load(), m_answersOut.load(),  m_refused.load(),
            m_unheard.load(),   m_cableResets.load(), m_answersDropped.load()};
}

ssize_t GadgetAnswerer::writeDevice(const unsigned char *report, std::size_t size)
{
    return ::write(m_fd, report, size);
}

bool GadgetAnswerer::receive(short events, std::string &error)
{
    unsigned char report[ReadRoom];
    const ssize_t received = ::read(m_fd, report, sizeof report);
    if (received < 0) {
        if (errno == ESHUTDOWN) {
            cableReset(errno);
            return true;
        }
        if (!retry(errno)) {
            error = "cannot read from the device: " + reason(errno);
            return false;
        }
        // An error condition that reads do not clear would wake every wait at once.
        if (events & POLLERR) {
            error = "the device reports an error";
            return false;
        }
        return true;
    }
    if (received == 0 && (events & POLLHUP)) {
        error = "the device was closed";
        return false;
    }
    if (received != PayloadSize) {
        ++m_refused;
        if (!m_toldRefused) {
            m_toldRefused = true;
            log("refused a report of " + std::to_string(received) + " bytes (the keyboard's are "
                + std::to_string(PayloadSize) + "); further ones are only counted");
        }
        return true;
    }
    hand(report);
    return true;
}

void GadgetAnswerer::hand(const unsigned char *payload)
{
    unsigned char report[ReportSize] = {};
    std::memcpy(report + 1, payload, PayloadSize);
    if (m_connection != 0 && m_keyboard->write(m_connection, report, ReportSize)) {
        ++m_reportsIn;
        return;
    }
    // Unplugged by a fault: the host hears nothing until it lets go of the gadget.
    ++m_unheard;
    if (!m_toldUnplugged) {
        m_toldUnplugged = true;
        log("the emulated keyboard is unplugged: reports are not answered until the host lets "
            "go of the gadget");
    }
}

bool GadgetAnswerer::answer(std::string &error)
{
    if (!m_hasPending) {
        unsigned int length = PayloadSize;
        std::memset(m_pending, 0, sizeof m_pending);
        if (!m_keyboard->read(m_connection, m_pending, length, 0))
            return true;
        m_hasPending = true;
    }
    const ssize_t written = writeDevice(m_pending, PayloadSize);
    if (written == PayloadSize) {
        m_hasPending = false;
        m_nextAnswer = std::chrono::steady_clock::now() + AnswerInterval;
        ++m_answersOut;
        return true;
    }
    if (written < 0 && retry(errno))
        return true;
    if (written < 0 && errno == ESHUTDOWN) {
        cableReset(errno);
        return true;
    }
    if (written >= 0) {
        error = "the device took " + std::to_string(written) + " bytes of a "
                + std::to_string(PayloadSize) + "-byte report: its reports are too short";
    } else {
        error = "cannot write to the device: " + reason(errno);
    }
    return false;
}

void GadgetAnswerer::cableReset(int error)
{
    const int dropped = m_hasPending ? 1 : 0;
    m_hasPending = false;
    ++m_cableResets;
    m_answersDropped += dropped;
    m_keyboard->unplug();
    m_keyboard->plugIn();
    m_connection = m_keyboard->connect();
    m_toldUnplugged = false;
    log("the host let go of the keyboard (" + reason(error) + "); it starts afresh"
        + (dropped ? ", an answer lost" : ""));
}

bool GadgetAnswerer::answerDue() const
{
    return m_hasPending || (m_connection != 0 && m_keyboard->answerWaiting(m_connection));
}

void GadgetAnswerer::log(const std::string &line) const
{
    if (m_log)
        m_log(line);
}

} // namespace quillosim
