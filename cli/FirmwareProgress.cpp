#include "cli/FirmwareProgress.h"

#include <string>

#include <unistd.h>

FirmwareProgress::FirmwareProgress(std::FILE *stream)
    : m_stream(stream)
    , m_terminal(isatty(fileno(stream)) != 0)
{}

void FirmwareProgress::post(unsigned int message, std::uintptr_t wParam, std::intptr_t)
{
    if (!m_terminal || message != quillodev::DeviceMessageProgress)
        return;
    constexpr int Width = 40;
    constexpr std::uintptr_t Scale = quillodev::ProgressScale;
    const int percent = int((wParam > Scale ? Scale : wParam) * 100 / Scale);
    const int filled = percent * Width / 100;
    std::fprintf(m_stream, "\r[%s%s] %3d%%", std::string(std::size_t(filled), '#').c_str(),
                 std::string(std::size_t(Width - filled), ' ').c_str(), percent);
    std::fflush(m_stream);
    m_drawn = true;
}

void FirmwareProgress::finish()
{
    if (m_drawn)
        std::fputc('\n', m_stream);
    m_drawn = false;
}
