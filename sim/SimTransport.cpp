#include "sim/SimTransport.h"

#include "sim/SimKeyboard.h"

namespace quillosim {

SimTransport::SimTransport(std::shared_ptr<SimKeyboard> keyboard)
    : m_keyboard(std::move(keyboard))
{
    if (m_keyboard)
        m_connection = m_keyboard->connect();
}

bool SimTransport::writeReport(const unsigned char *report, unsigned int length)
{
    return m_keyboard && m_keyboard->write(m_connection, report, length);
}

bool SimTransport::readReport(unsigned char *buffer, unsigned int &length, int timeoutMs)
{
    return m_keyboard && m_keyboard->read(m_connection, buffer, length, timeoutMs);
}

} // namespace quillosim
