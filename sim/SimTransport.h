#pragma once

#include <quillodev/CNuboUtil.h>

#include <cstdint>
#include <memory>

namespace quillosim {

class SimKeyboard;

// One open handle on an emulated keyboard. Without a keyboard it is a handle on a device that
// is not ours: every write and read fails.
class SimTransport : public CNuboUtil {
public:
    explicit SimTransport(std::shared_ptr<SimKeyboard> keyboard);

    bool writeReport(const unsigned char *report, unsigned int length) override;
    bool readReport(unsigned char *buffer, unsigned int &length, int timeoutMs) override;

private:
    std::shared_ptr<SimKeyboard> m_keyboard;
    std::uint64_t m_connection = 0;
};

} // namespace quillosim
