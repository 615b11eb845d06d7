#include "sim/SimKeyboard.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <thread>

namespace quillosim {

std::shared_ptr<SimKeyboard> SimKeyboard::create(int variant)
{
    if (variant < 1 || variant > 4)
        return nullptr;
    return std::shared_ptr<SimKeyboard>(new SimKeyboard(variant));
}

SimKeyboard::SimKeyboard(int variant)
    : m_variant(variant)
    , m_protocol(KeyboardMemory::factory(variant))
{}

const wchar_t *SimKeyboard::productId() const
{
    static constexpr const wchar_t *ids[] = {L"5030", L"5130", L"5230", L"5330"};
    return ids[m_variant - 1];
}

std::uint64_t SimKeyboard::connect()
{
    std::lock_guard lock(m_mutex);
    if (!m_plugged)
        return 0;
    // A new handle sees only reports sent after it was opened.
    m_protocol.stats().answersDiscarded += int(m_answers.size());
    m_answers.clear();
    m_busyRead = false;
    return m_nextConnection++;
}

bool SimKeyboard::write(std::uint64_t connection, const unsigned char *report, unsigned int length)
{
    std::unique_lock lock(m_mutex);
    if (!connected(connection))
        return false;
    if (!report || length != ReportSize || report[0] != 0) {
        ++m_protocol.stats().writesRefused;
        return false;
    }
    if (m_faults.failThisWrite()) {
        unplugLocked();
        return false;
    }
    const Clock::time_point due = pace(m_lastWrite);
    if (due > Clock::now()) {
        lock.unlock();
        std::this_thread::sleep_until(due);
        lock.lock();
        if (!connected(connection))
            return false;
    }

    record(TraceEntry::Direction::Written, report, ReportSize);
    std::vector<Report> answers;
    const KeyboardProtocol::Outcome outcome = m_protocol.receive(report + 1, answers);
    if (outcome.command) {
        m_protocol.stats().answersDiscarded += int(m_answers.size());
        m_answers.clear();
        m_busyRead = false;
        m_exchange = outcome.exchange;
        if (outcome.exchange == KeyboardProtocol::Exchange::Version && m_faults.awake()
            && m_faults.faults().versionBusy) {
            answers.clear();
            m_busyRead = true;
        }
    }
    m_faults.shape(outcome.exchange, answers);
    if (!answers.empty()) {
        for (Report &answer : answers)
            m_answers.push_back(std::move(answer));
        m_answered.notify_all();
    }
    reportCrossed();
    return true;
}

bool SimKeyboard::read(std::uint64_t connection, unsigned char *buffer, unsigned int &length,
                       int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (!buffer || !connected(connection))
        return false;
    if (m_faults.failThisRead()) {
        unplugLocked();
        return false;
    }
    if (m_busyRead) {
        m_busyRead = false;
        return false;
    }

    std::chrono::milliseconds wait = std::chrono::milliseconds::max();
    if (timeoutMs >= 0)
        wait = std::chrono::milliseconds(timeoutMs);
    if (m_readWaitLimit.count() > 0)
        wait = std::min(wait, m_readWaitLimit);
    const auto ready = [&] {
        return !m_answers.empty() || !connected(connection);
    };
    if (wait == std::chrono::milliseconds::max())
        m_answered.wait(lock, ready);
    else
        m_answered.wait_for(lock, wait, ready);
    if (!connected(connection) || m_answers.empty())
        return false;

    Report answer = std::move(m_answers.front());
    m_answers.pop_front();
    const std::size_t count = std::min<std::size_t>(length, answer.size());
    record(TraceEntry::Direction::Read, answer.data(), count);
    ++m_protocol.stats().reportsSent;
    reportCrossed();
    const Clock::time_point due = pace(m_lastRead);
    lock.unlock();

    std::this_thread::sleep_until(due);
    std::memcpy(buffer, answer.data(), count);
    length = unsigned(count);
    return true;
}

bool SimKeyboard::answerWaiting(std::uint64_t connection) const
{
    std::lock_guard lock(m_mutex);
    return connected(connection) && !m_answers.empty();
}

void SimKeyboard::unplug()
{
    std::lock_guard lock(m_mutex);
    unplugLocked();
}

void SimKeyboard::plugIn()
{
    std::lock_guard lock(m_mutex);
    m_plugged = true;
}

bool SimKeyboard::isPlugged() const
{
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

void SimKeyboard::setFaults(const SimFaults &faults)
{
    std::lock_guard lock(m_mutex);
    m_faults.set(faults);
}

SimFaults SimKeyboard::faults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults.faults();
}

void SimKeyboard::setReportInterval(std::chrono::microseconds interval)
{
    std::lock_guard lock(m_mutex);
    m_interval = std::max(interval, std::chrono::microseconds(0));
}

void SimKeyboard::setReadWaitLimit(std::chrono::milliseconds limit)
{
    std::lock_guard lock(m_mutex);
    m_readWaitLimit = std::max(limit, std::chrono::milliseconds(0));
}

KeyboardMemory SimKeyboard::memory() const
{
    std::lock_guard lock(m_mutex);
    return m_protocol.memory();
}

void SimKeyboard::setMemory(KeyboardMemory memory)
{
    std::lock_guard lock(m_mutex);
    memory.variant = m_variant;
    m_protocol.memory() = std::move(memory);
}

FirmwareImage SimKeyboard::firmwareImage() const
{
    std::lock_guard lock(m_mutex);
    return m_protocol.firmware().image();
}

int SimKeyboard::firmwareUpdates() const
{
    std::lock_guard lock(m_mutex);
    return m_protocol.firmware().updatesDone();
}

int SimKeyboard::failedFirmwareUpdates() const
{
    std::lock_guard lock(m_mutex);
    return m_protocol.firmware().updatesFailed();
}

int SimKeyboard::rejectedFirmwareRecords() const
{
    std::lock_guard lock(m_mutex);
    return m_protocol.firmware().recordsRejected();
}

SimStats SimKeyboard::stats() const
{
    std::lock_guard lock(m_mutex);
    return m_protocol.stats();
}

std::vector<TraceEntry> SimKeyboard::trace() const
{
    std::lock_guard lock(m_mutex);
    return {m_trace.begin(), m_trace.end()};
}

void SimKeyboard::clearTrace()
{
    std::lock_guard lock(m_mutex);
    m_trace.clear();
}

void SimKeyboard::setTraceObserver(TraceObserver observer)
{
    std::lock_guard lock(m_mutex);
    m_observer = std::move(observer);
}

void SimKeyboard::setTraceLimit(std::size_t entries)
{
    std::lock_guard lock(m_mutex);
    m_traceLimit = entries;
    while (m_trace.size() > m_traceLimit)
        m_trace.pop_front();
}

bool SimKeyboard::connected(std::uint64_t connection) const
{
    return m_plugged && connection >= m_oldestLive && connection < m_nextConnection;
}

void SimKeyboard::unplugLocked()
{
    m_plugged = false;
    m_oldestLive = m_nextConnection;
    m_answers.clear();
    m_busyRead = false;
    m_protocol.powerLoss();
    m_answered.notify_all();
}

void SimKeyboard::reportCrossed()
{
    if (!m_faults.reportCrossed() || m_answers.empty())
        return;
    // The rest of the exchange in progress goes wrong from here on.
    std::vector<Report> pending(std::make_move_iterator(m_answers.begin()),
                                std::make_move_iterator(m_answers.end()));
    m_answers.clear();
    m_faults.shape(m_exchange, pending);
    for (Report &answer : pending)
        m_answers.push_back(std::move(answer));
}

void SimKeyboard::record(TraceEntry::Direction direction, const std::uint8_t *bytes,
                         std::size_t count)
{
    TraceEntry entry{direction, std::vector<std::uint8_t>(bytes, bytes + count)};
    if (m_observer)
        m_observer(entry);
    if (m_traceLimit == 0)
        return;
    if (m_trace.size() >= m_traceLimit)
        m_trace.pop_front();
    m_trace.push_back(std::move(entry));
}

SimKeyboard::Clock::time_point SimKeyboard::pace(Clock::time_point &last)
{
    const Clock::time_point now = Clock::now();
    if (m_interval.count() == 0)
        return now;
    last = std::max(now, last + m_interval);
    return last;
}

} // namespace quillosim
