#include "cli/CliKeyboard.h"

#include "app/DeviceAccessMessage.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"
#include "sim/TracingBackend.h"

#include <quillodev/CNuboHWI.h>
#include <quillodev/HidBackend.h>

namespace {

constexpr std::size_t VersionLength = 62;

} // namespace

CliKeyboard::CliKeyboard() = default;

CliKeyboard::~CliKeyboard() = default;

std::string CliKeyboard::install(const CliOptions &options)
{
    std::shared_ptr<quillodev::HidBackend> backend;
    if (options.simVariant != 0) {
        m_simKeyboard = quillosim::SimKeyboard::create(options.simVariant);
        backend = std::make_shared<quillosim::SimHidBackend>(m_simKeyboard);
    }
    if (!options.traceFile.empty()) {
        m_trace = std::make_shared<ReportTrace>();
        m_tracePath = options.traceFile;
        if (!m_trace->open(options.traceFile))
            return "cannot open the trace file " + options.traceFile;
        if (!backend)
            backend = quillodev::platformHidBackend();
        backend = std::make_shared<TracingBackend>(backend, m_trace);
    }
    if (backend)
        quillodev::setHidBackend(backend);
    return {};
}

std::string CliKeyboard::open(CNuboHWI &hwi)
{
    m_variant = hwi.DetectDeviceType();
    if (m_variant == 0 || !hwi.__createDev())
        return whyNoKeyboard();
    if (!hwi.ReadKeyboardVersion(m_version))
        return "keyboard busy: it does not answer";
    return {};
}

std::string CliKeyboard::finish()
{
    std::string error;
    if (!m_trace || m_trace->close(error))
        return {};
    return "cannot write the trace file " + m_tracePath + ": " + error;
}

std::string CliKeyboard::whyNoKeyboard()
{
    // Present but not to be opened: most often this user has no access to it.
    if (const auto problem = quillodev::keyboardOpenProblem())
        return DeviceAccessMessage::line(
            *problem, DeviceAccessMessage::findRule(ResourceLocator::forThisProgram()));
    return "no keyboard attached";
}

std::string CliKeyboard::version() const
{
    std::string result;
    for (std::size_t i = 0; i < VersionLength && m_version[i] != 0; ++i)
        result += m_version[i] < 0x80 ? char(m_version[i]) : '?';
    return result;
}
