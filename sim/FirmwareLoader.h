#pragma once

#include "sim/FirmwareImage.h"

#include <cstddef>
#include <cstdint>

namespace quillosim {

// The keyboard's boot loader: takes Intel HEX records one at a time, checks each one's length
// and checksum, and counts an update as done when the end-of-file record closes an image
// whose every record was sound.
class FirmwareLoader {
public:
    static constexpr std::size_t FlashSize = 1u << 20;

    enum class Result {
        Accepted,  // a sound record, the download goes on
        Rejected,  // a broken record; the download will fail at its end
        Completed, // end of file: the update is done
        Failed,    // end of file after broken records, or of an empty image: nothing installed
    };

    // `record` holds the bytes decoded from one line after its colon; `available` is how many
    // of them the report carried, the rest of the line is cut off.
    Result receive(const std::uint8_t *record, std::size_t available);
    // A download cut off by losing power fails.
    void abort();

    bool loading() const { return m_loading; }
    int updatesDone() const { return m_updatesDone; }
    int updatesFailed() const { return m_updatesFailed; }
    int recordsRejected() const { return m_recordsRejected; }
    // The image of the last completed update.
    const FirmwareImage &image() const { return m_installed; }
    std::uint32_t startAddress() const { return m_installedStart; }

private:
    bool accept(const std::uint8_t *record);
    Result finish();

    FirmwareImage m_pending;
    FirmwareImage m_installed;
    std::uint32_t m_base = 0;
    std::uint32_t m_start = 0;
    std::uint32_t m_installedStart = 0;
    bool m_loading = false;
    bool m_broken = false;
    int m_updatesDone = 0;
    int m_updatesFailed = 0;
    int m_recordsRejected = 0;
};

} // namespace quillosim
