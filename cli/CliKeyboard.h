#pragma once

#include "cli/CliOptions.h"

#include <memory>
#include <string>

class CNuboHWI;
class ReportTrace;

namespace quillosim {
class SimKeyboard;
}

// The keyboard a quillo-cli command talks to: the emulated one or the platform's, with the
// report trace when asked for, and the attached keyboard opened. Each step returns why it
// failed, or nothing.
class CliKeyboard {
public:
    CliKeyboard();
    ~CliKeyboard();
    CliKeyboard(const CliKeyboard &) = delete;
    CliKeyboard &operator=(const CliKeyboard &) = delete;

    // The backend --sim and --trace ask for; otherwise whichever is in place, the platform's
    // unless a caller chose one.
    std::string install(const CliOptions &options);
    // The attached keyboard's variant found and the device opened; the version query doubles
    // as the check that nothing else holds the keyboard.
    std::string open(CNuboHWI &hwi);
    // Why no keyboard can be used: none attached, or which node cannot be opened and what
    // gives access to it.
    static std::string whyNoKeyboard();

    // Closes the trace; why it could not be written, or nothing.
    std::string finish();

    int variant() const { return m_variant; }
    // The version read when the keyboard was opened, non-ASCII as '?'.
    std::string version() const;

private:
    std::shared_ptr<ReportTrace> m_trace;
    std::string m_tracePath;
    std::shared_ptr<quillosim::SimKeyboard> m_simKeyboard;
    int m_variant = 0;
    wchar_t m_version[64] = {};
};
