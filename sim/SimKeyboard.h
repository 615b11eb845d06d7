#pragma once

#include "sim/FaultInjector.h"
#include "sim/FirmwareImage.h"
#include "sim/KeyboardMemory.h"
#include "sim/KeyboardProtocol.h"
#include "sim/SimFaults.h"
#include "sim/SimStats.h"
#include "sim/TraceEntry.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace quillosim {

// An emulated keyboard of one variant. It outlives the transports opened on it, as a real
// keyboard outlives the program's handles, and every member may be called from any thread.
class SimKeyboard {
public:
    // A keyboard of variant 1..4 with its factory memory; null for any other variant.
    static std::shared_ptr<SimKeyboard> create(int variant);

    int variant() const { return m_variant; }
    const wchar_t *productId() const; // "5030", "5130", "5230" or "5330"

    // The host's side, for the transport. A connection is one open handle; it stays valid
    // until the keyboard is unplugged. connect() gives 0 while unplugged.
    std::uint64_t connect();
    bool write(std::uint64_t connection, const unsigned char *report, unsigned int length);
    // Waits for the next answer at most `timeoutMs` (negative: no limit, 0: just look).
    bool read(std::uint64_t connection, unsigned char *buffer, unsigned int &length, int timeoutMs);
    // Whether an answer waits to be read on `connection`, which stays where it is.
    bool answerWaiting(std::uint64_t connection) const;

    // The cable. Unplugging fails every open handle and wakes blocked reads; the keyboard's
    // flash (memory, installed firmware) survives.
    void unplug();
    void plugIn();
    bool isPlugged() const;

    void setFaults(const SimFaults &faults);
    SimFaults faults() const;
    // Least time between two reports in each direction; 1 ms models a full-speed endpoint.
    void setReportInterval(std::chrono::microseconds interval);
    // Caps how long a read waits, whatever the host asked, so tests of silent keyboards finish
    // fast. Zero: no cap.
    void setReadWaitLimit(std::chrono::milliseconds limit);

    KeyboardMemory memory() const;
    void setMemory(KeyboardMemory memory); // the variant stays the keyboard's own
    FirmwareImage firmwareImage() const;   // of the last completed update
    int firmwareUpdates() const;
    int failedFirmwareUpdates() const;
    int rejectedFirmwareRecords() const;
    SimStats stats() const;

    std::vector<TraceEntry> trace() const;
    void clearTrace();
    void setTraceObserver(TraceObserver observer);
    // The trace keeps the latest `entries` reports (default 65536).
    void setTraceLimit(std::size_t entries);

private:
    using Clock = std::chrono::steady_clock;

    explicit SimKeyboard(int variant);
    bool connected(std::uint64_t connection) const;
    void unplugLocked();
    // Counts a report that crossed the cable; faults that wake up shape the answers waiting.
    void reportCrossed();
    void record(TraceEntry::Direction direction, const std::uint8_t *bytes, std::size_t count);
    // When the next report in one direction may go, given the last one's time.
    Clock::time_point pace(Clock::time_point &last);

    const int m_variant;
    mutable std::mutex m_mutex;
    std::condition_variable m_answered;
    KeyboardProtocol m_protocol;
    FaultInjector m_faults;
    std::deque<Report> m_answers;
    KeyboardProtocol::Exchange m_exchange = KeyboardProtocol::Exchange::None;
    bool m_plugged = true;
    std::uint64_t m_nextConnection = 1;
    std::uint64_t m_oldestLive = 1; // connections opened before the last unplugging are dead
    bool m_busyRead = false;
    std::chrono::microseconds m_interval{0};
    std::chrono::milliseconds m_readWaitLimit{0};
    Clock::time_point m_lastWrite;
    Clock::time_point m_lastRead;
    std::deque<TraceEntry> m_trace;
    std::size_t m_traceLimit = 65536;
    TraceObserver m_observer;
};

} // namespace quillosim
