#pragma once

#include <quillodev/MessageTarget.h>

#include <cstdio>

// Draws the download's progress (0..150) as a bar on a terminal; silent when the stream is
// not one.
class FirmwareProgress : public MessageTarget {
public:
    explicit FirmwareProgress(std::FILE *stream);
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Ends the bar's line, if one was drawn.
    void finish();

private:
    std::FILE *m_stream;
    bool m_terminal;
    bool m_drawn = false;
};
