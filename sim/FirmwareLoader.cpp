#include "sim/FirmwareLoader.h"

namespace quillosim {

namespace {

enum RecordType : std::uint8_t {
    Data = 0,
    EndOfFile = 1,
    ExtendedSegment = 2,
    StartSegment = 3,
    ExtendedLinear = 4,
    StartLinear = 5,
};

std::uint32_t bigEndian(const std::uint8_t *bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

} // namespace

FirmwareLoader::Result FirmwareLoader::receive(const std::uint8_t *record, std::size_t available)
{
    if (!m_loading) {
        m_loading = true;
        m_broken = false;
        m_pending.clear();
        m_base = 0;
        m_start = 0;
    }

    // Byte count, two address bytes, type, data, checksum.
    const bool complete = available >= 5 && available >= 5u + record[0];
    if (complete && record[3] == EndOfFile && record[0] == 0) {
        std::uint8_t sum = 0;
        for (int i = 0; i < 5; ++i)
            sum = std::uint8_t(sum + record[i]);
        if (sum == 0)
            return finish();
    }
    if (!complete || !accept(record)) {
        ++m_recordsRejected;
        m_broken = true;
        return Result::Rejected;
    }
    return Result::Accepted;
}

void FirmwareLoader::abort()
{
    if (!m_loading)
        return;
    m_loading = false;
    m_pending.clear();
    ++m_updatesFailed;
}

bool FirmwareLoader::accept(const std::uint8_t *record)
{
    const std::size_t count = record[0];
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 5 + count; ++i)
        sum = std::uint8_t(sum + record[i]);
    if (sum != 0)
        return false;

    const std::uint32_t offset = bigEndian(record + 1, 2);
    const std::uint8_t *data = record + 4;
    switch (record[3]) {
    case Data:
        if (m_pending.size() + count > FlashSize)
            return false;
        m_pending.write(m_base + offset, data, count);
        return true;
    case ExtendedSegment:
        if (count != 2)
            return false;
        m_base = bigEndian(data, 2) << 4;
        return true;
    case ExtendedLinear:
        if (count != 2)
            return false;
        m_base = bigEndian(data, 2) << 16;
        return true;
    case StartSegment:
    case StartLinear:
        if (count != 4)
            return false;
        m_start = bigEndian(data, 4);
        return true;
    default:
        return false;
    }
}

FirmwareLoader::Result FirmwareLoader::finish()
{
    m_loading = false;
    // Installing nothing would leave the keyboard without a program.
    if (m_broken || m_pending.empty()) {
        ++m_updatesFailed;
        m_pending.clear();
        return Result::Failed;
    }
    m_installed = std::move(m_pending);
    m_pending = FirmwareImage();
    m_installedStart = m_start;
    ++m_updatesDone;
    return Result::Completed;
}

} // namespace quillosim
