#include "cli/CliOutput.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

CliOutput::CliOutput(int fd)
    : m_fd(fd)
{}

void CliOutput::write(std::string_view text)
{
    while (!text.empty() && m_error.empty() && !m_finished) {
        const ssize_t n = ::write(m_fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_error = std::strerror(errno);
            return;
        }
        text.remove_prefix(std::size_t(n));
    }
}

bool CliOutput::finish()
{
    if (m_finished)
        return m_error.empty();
    m_finished = true;
    // Some file systems report a failed write only when the file is closed.
    if (::close(m_fd) != 0 && m_error.empty() && errno != EINTR)
        m_error = std::strerror(errno);
    return m_error.empty();
}
