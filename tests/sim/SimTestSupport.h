#pragma once

#include "sim/SimKeyboard.h"
#include "sim/SimTransport.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace simtest {

using quillosim::Report;

// The host's end of the cable at report level, without the device library.
class RawHost {
public:
    explicit RawHost(std::shared_ptr<quillosim::SimKeyboard> keyboard)
        : transport(std::move(keyboard))
    {}

    bool send(const Report &payload)
    {
        std::array<unsigned char, 65> report{};
        for (std::size_t i = 0; i < payload.size() && i < 64; ++i)
            report[i + 1] = payload[i];
        return transport.writeReport(report.data(), unsigned(report.size()));
    }

    bool command(std::uint8_t byte)
    {
        Report payload(64, 0);
        payload[1] = byte;
        return send(payload);
    }

    // Every answer waiting now; stops at the first read that finds nothing within `waitMs`.
    std::vector<Report> readAll(int waitMs = 20)
    {
        std::vector<Report> reports;
        for (;;) {
            Report payload(64, 0);
            unsigned int length = 64;
            if (!transport.readReport(payload.data(), length, waitMs))
                return reports;
            payload.resize(length);
            reports.push_back(std::move(payload));
        }
    }

    quillosim::SimTransport transport;
};

inline Report payload(std::initializer_list<int> head, int fill = 0)
{
    Report bytes(64, std::uint8_t(fill));
    std::size_t i = 0;
    for (int byte : head)
        bytes[i++] = std::uint8_t(byte);
    return bytes;
}

// A light or counter data report carrying `count` bytes from `data`.
inline Report areaData(std::uint8_t marker, const std::uint8_t *data, int count)
{
    Report bytes(64, 0);
    bytes[1] = marker;
    bytes[2] = std::uint8_t(count);
    for (int i = 0; i < count && i < 61; ++i)
        bytes[std::size_t(3 + i)] = data[i];
    return bytes;
}

} // namespace simtest
