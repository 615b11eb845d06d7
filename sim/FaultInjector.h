#pragma once

#include "sim/KeyboardProtocol.h"
#include "sim/SimConstants.h"
#include "sim/SimFaults.h"

#include <cstdint>
#include <vector>

namespace quillosim {

// Turns the keyboard's honest behaviour into the faulty one a test asked for.
class FaultInjector {
public:
    void set(const SimFaults &faults);
    const SimFaults &faults() const { return m_faults; }

    // Count one write or read; true when this one is to fail and unplug the keyboard.
    bool failThisWrite();
    bool failThisRead();
    // Count one report that crossed the cable; true when it woke the faults, so that the
    // answers still waiting are to be shaped now.
    bool reportCrossed();
    bool awake() const { return m_crossed >= m_faults.afterReports; }
    // Rewrites the answers of one exchange (nothing while the faults sleep).
    void shape(KeyboardProtocol::Exchange exchange, std::vector<Report> &answers);

private:
    std::uint32_t random();
    Report garbageReport();
    void makeOversize(KeyboardProtocol::Exchange exchange, std::vector<Report> &answers);
    void addForeign(KeyboardProtocol::Exchange exchange, std::vector<Report> &answers);

    SimFaults m_faults;
    int m_writes = 0;
    int m_reads = 0;
    int m_crossed = 0;
    std::uint32_t m_seed = 0x2545F491u;
};

} // namespace quillosim
