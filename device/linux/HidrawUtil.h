#pragma once

#include <quillodev/CNuboUtil.h>

namespace quillodev {

// Report I/O on an open hidraw node: one write() per output report, one read() per input
// report, which the node delivers whole. Owns the descriptor.
class HidrawUtil : public CNuboUtil {
public:
    // A descriptor of -1 stands for a node that could not be opened: every report fails.
    explicit HidrawUtil(int fd);
    ~HidrawUtil() override;

    bool writeReport(const unsigned char *report, unsigned int length) override;
    // A negative timeout waits without limit.
    bool readReport(unsigned char *buffer, unsigned int &length, int timeoutMs) override;

private:
    int m_fd;
};

} // namespace quillodev
