#include "sim/TracingBackend.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {

class TracingTransport : public CNuboUtil {
public:
    TracingTransport(std::unique_ptr<CNuboUtil> inner, std::shared_ptr<ReportTrace> trace)
        : m_inner(std::move(inner))
        , m_trace(std::move(trace))
    {}

    bool writeReport(const unsigned char *report, unsigned int length) override
    {
        m_trace->record('>', report, length);
        return m_inner->writeReport(report, length);
    }

    bool readReport(unsigned char *buffer, unsigned int &length, int timeoutMs) override
    {
        if (!m_inner->readReport(buffer, length, timeoutMs))
            return false;
        m_trace->record('<', buffer, length);
        return true;
    }

private:
    std::unique_ptr<CNuboUtil> m_inner;
    std::shared_ptr<ReportTrace> m_trace;
};

} // namespace

ReportTrace::~ReportTrace()
{
    if (m_file)
        std::fclose(m_file);
}

bool ReportTrace::open(const std::string &path)
{
    m_file = std::fopen(path.c_str(), "a");
    return m_file != nullptr;
}

void ReportTrace::record(char direction, const unsigned char *bytes, unsigned int count)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string line;
    line.reserve(3 + 3 * std::size_t(count));
    line += direction;
    for (unsigned int i = 0; i < count; ++i) {
        line += ' ';
        line += digits[bytes[i] >> 4];
        line += digits[bytes[i] & 0xF];
    }
    line += '\n';

    std::lock_guard lock(m_mutex);
    if (!m_file)
        return;
    // Flushed per line so that a trace survives a keyboard that hangs the exchange.
    if ((std::fputs(line.c_str(), m_file) < 0 || std::fflush(m_file) != 0) && m_error.empty())
        m_error = std::strerror(errno);
}

bool ReportTrace::close(std::string &error)
{
    std::lock_guard lock(m_mutex);
    if (m_file && std::fclose(m_file) != 0 && m_error.empty())
        m_error = std::strerror(errno);
    m_file = nullptr;
    error = m_error;
    return m_error.empty();
}

std::string ReportTrace::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

TracingBackend::TracingBackend(std::shared_ptr<quillodev::HidBackend> inner,
                               std::shared_ptr<ReportTrace> trace)
    : m_inner(std::move(inner))
    , m_trace(std::move(trace))
{}

std::vector<std::wstring> TracingBackend::interfacePaths()
{
    return m_inner ? m_inner->interfacePaths() : std::vector<std::wstring>();
}

std::unique_ptr<CNuboUtil> TracingBackend::open(const std::wstring &path)
{
    std::unique_ptr<CNuboUtil> transport = m_inner ? m_inner->open(path) : nullptr;
    if (!transport)
        return nullptr;
    return std::make_unique<TracingTransport>(std::move(transport), m_trace);
}

std::optional<quillodev::OpenProblem> TracingBackend::openProblem(const std::wstring &path)
{
    return m_inner ? m_inner->openProblem(path) : std::nullopt;
}
