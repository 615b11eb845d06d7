#pragma once

#include "sim/SimConstants.h"

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ReportTrace;

namespace quillosim {

class SimKeyboard;

// The emulated keyboard answering on the vendor function of a USB gadget (/dev/hidgN) as the
// keyboard does on the cable: every 64-byte report the host sent is the keyboard's 65-byte
// write, report number 0 in front; every answer goes back as one 64-byte report, taken from
// the keyboard only once the host has read the one before, so answers wait for the host.
//
// The gadget's device is unbound when the host lets go of it (the keyboard unplugged): a
// write then fails with ESHUTDOWN, and the keyboard loses what it was doing, as one losing
// power would, and answers again once the gadget is bound. An unbound device never becomes
// writable, so while an answer waits for the host it is tried every so often.
class GadgetAnswerer {
public:
    struct Counts {
        int reportsIn = 0;      // reports handed to the keyboard
        int answersOut = 0;     // answers written to the device
        int refused = 0;        // reports of another length than 64, never handed on
        int unheard = 0;        // reports that came while the keyboard was unplugged by a fault
        int cableResets = 0;    // times the host let go while an answer was due
        int answersDropped = 0; // answers taken from the keyboard and lost to those
    };

    // `device` stays the caller's to close; it is made non-blocking.
    GadgetAnswerer(int device, std::shared_ptr<SimKeyboard> keyboard);
    virtual ~GadgetAnswerer();
    GadgetAnswerer(const GadgetAnswerer &) = delete;
    GadgetAnswerer &operator=(const GadgetAnswerer &) = delete;

    // Every report the keyboard takes and gives goes to `trace` as the host's programs trace
    // them; the first line that cannot be written is logged.
    void setTrace(std::shared_ptr<ReportTrace> trace);
    // Where the answerer says what went wrong, one line each; by default standard error.
    void setLog(std::function<void(const std::string &)> log);

    // Answers until `stop` becomes readable (returns nothing) or the device fails in a way
    // that cannot heal (returns why). May be called again after it returned.
    std::string run(int stop);

    // May be called from any thread.
    Counts counts() const;

protected:
    // The device's write; tests make the cable fail here.
    virtual ssize_t writeDevice(const unsigned char *report, std::size_t size);

private:
    // Each gives false, with the reason in `error`, when the device cannot be used any more.
    bool receive(short events, std::string &error);
    bool answer(std::string &error);
    void hand(const unsigned char *payload);
    void cableReset(int error);
    bool answerDue() const;
    void log(const std::string &line) const;

    const int m_fd;
    const std::shared_ptr<SimKeyboard> m_keyboard;
    std::uint64_t m_connection = 0;
    std::function<void(const std::string &)> m_log;
    unsigned char m_pending[PayloadSize] = {};
    bool m_hasPending = false;
    // A full-speed interrupt endpoint carries one report a millisecond: answers go no faster,
    // as the keyboard's, so the host's 64-report hidraw queue has the slack it has on a cable.
    std::chrono::steady_clock::time_point m_nextAnswer;
    bool m_toldRefused = false;
    bool m_toldUnplugged = false;

    std::atomic<int> m_reportsIn{0};
    std::atomic<int> m_answersOut{0};
    std::atomic<int> m_refused{0};
    std::atomic<int> m_unheard{0};
    std::atomic<int> m_cableResets{0};
    std::atomic<int> m_answersDropped{0};
};

} // namespace quillosim
