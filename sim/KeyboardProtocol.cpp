#include "sim/KeyboardProtocol.h"

#include <algorithm>
#include <cstring>

namespace quillosim {

namespace {

bool isCommand(const std::uint8_t *payload)
{
    if (payload[0] != 0)
        return false;
    switch (payload[1]) {
    case Byte::WriteKeys:
    case Byte::ReadKeys:
    case Byte::WriteLights:
    case Byte::ReadLights:
    case Byte::ReadCounters:
    case Byte::ReadVersion:
        return true;
    default:
        return false;
    }
}

// Blocks a macro record occupies: its 16-bit data length in 53-byte pieces, at least one.
std::size_t macroBlocks(const std::uint8_t *header)
{
    const int length = header[9] << 8 | header[10];
    return std::size_t(std::max(1, (length + MacroBlockData - 1) / MacroBlockData));
}

} // namespace

KeyboardProtocol::KeyboardProtocol(KeyboardMemory memory)
    : m_memory(std::move(memory))
{}

KeyboardProtocol::Outcome KeyboardProtocol::receive(const std::uint8_t *payload,
                                                    std::vector<Report> &answers)
{
    ++m_stats.reportsReceived;
    if (isCommand(payload)) {
        // A host that starts over has given up on the exchange it was in.
        reset();
        return {true, startCommand(payload[1], answers)};
    }
    switch (m_state) {
    case State::ReceivingKeys:
        receiveKeyReport(payload);
        break;
    case State::ReceivingLights:
        receiveLightReport(payload);
        break;
    case State::Idle:
        if (payload[0] == 0 && payload[1] == Byte::FirmwareRecord) {
            ++m_stats.firmwareRecords;
            m_firmware.receive(payload + 2, PayloadSize - 2);
        } else {
            ++m_stats.ignoredReports;
        }
        break;
    }
    return {};
}

void KeyboardProtocol::reset()
{
    dropPartialMacro();
    m_state = State::Idle;
    m_lightOffset = 0;
}

void KeyboardProtocol::powerLoss()
{
    reset();
    m_firmware.abort();
}

KeyboardProtocol::Exchange KeyboardProtocol::startCommand(std::uint8_t command,
                                                          std::vector<Report> &answers)
{
    switch (command) {
    case Byte::WriteKeys:
        m_state = State::ReceivingKeys;
        return Exchange::WriteKeys;
    case Byte::ReadKeys:
        answerKeys(answers);
        return Exchange::ReadKeys;
    case Byte::WriteLights:
        m_state = State::ReceivingLights;
        m_lightOffset = 0;
        return Exchange::WriteLights;
    case Byte::ReadLights:
        answerArea(Byte::LightData, m_memory.lights.data(), LightAreaSize, answers);
        return Exchange::ReadLights;
    case Byte::ReadCounters: {
        std::uint8_t area[CounterAreaSize];
        for (int key = 0; key < KeyCount; ++key) {
            for (int i = 0; i < 4; ++i)
                area[4 * key + i] = std::uint8_t(m_memory.counters[std::size_t(key)] >> (8 * i));
        }
        answerArea(Byte::ReadCounters, area, CounterAreaSize, answers);
        return Exchange::ReadCounters;
    }
    case Byte::ReadVersion:
        answerVersion(answers);
        return Exchange::Version;
    default:
        return Exchange::None;
    }
}

void KeyboardProtocol::receiveKeyReport(const std::uint8_t *payload)
{
    if (m_macroSlot >= 0) {
        // Every block of a macro repeats the header of its first block unchanged.
        if (std::equal(payload + 1, payload + MacroHeaderSize, m_macro.begin() + 1)) {
            m_macro.insert(m_macro.end(), payload, payload + PayloadSize);
            if (m_macro.size() == m_macroBlocks * PayloadSize) {
                store(m_macroSlot, std::move(m_macro));
                m_macro.clear();
                m_macroSlot = -1;
            }
            return;
        }
        dropPartialMacro();
    }

    if (payload[1] == Byte::KeysEnd) {
        m_state = State::Idle;
        return;
    }
    if (payload[1] != Byte::KeyRecord) {
        ++m_stats.ignoredReports;
        return;
    }
    const int slot = slotOf(payload[2], payload[3]);
    const int type = payload[4];
    if (slot < 0 || type > 4) {
        ++m_stats.recordsRejected;
        return;
    }
    Report first(payload, payload + PayloadSize);
    if (type <= 1 || macroBlocks(payload) == 1) {
        store(slot, std::move(first));
        return;
    }
    m_macro = std::move(first);
    m_macroSlot = slot;
    m_macroBlocks = macroBlocks(payload);
}

void KeyboardProtocol::receiveLightReport(const std::uint8_t *payload)
{
    if (payload[1] == Byte::AreaEnd) {
        m_state = State::Idle;
        return;
    }
    if (payload[1] != Byte::LightData) {
        ++m_stats.ignoredReports;
        return;
    }
    const int claimed = payload[2];
    const int carried = std::min(claimed, DataChunk);
    const int stored = std::min(carried, LightAreaSize - m_lightOffset);
    std::memcpy(m_memory.lights.data() + m_lightOffset, payload + 3, std::size_t(stored));
    m_lightOffset += stored;
    m_stats.lightBytesDropped += claimed - stored;
}

void KeyboardProtocol::store(int slot, Report record)
{
    m_memory.records[std::size_t(slot)] = std::move(record);
    ++m_stats.recordsStored;
}

void KeyboardProtocol::dropPartialMacro()
{
    if (m_macroSlot < 0)
        return;
    ++m_stats.recordsRejected;
    m_macro.clear();
    m_macroSlot = -1;
}

void KeyboardProtocol::answerKeys(std::vector<Report> &answers) const
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const Report &record = m_memory.records[std::size_t(slot)];
        if (record.empty()) {
            answers.push_back(KeyboardMemory::emptyRecord(slot));
            continue;
        }
        for (std::size_t at = 0; at < record.size(); at += PayloadSize) {
            const std::size_t end = std::min(record.size(), at + PayloadSize);
            Report block(record.begin() + std::ptrdiff_t(at), record.begin() + std::ptrdiff_t(end));
            block.resize(PayloadSize, 0);
            answers.push_back(std::move(block));
        }
    }
    answers.push_back(Report(PayloadSize, Byte::KeysEnd));
}

void KeyboardProtocol::answerArea(std::uint8_t marker, const std::uint8_t *data, int size,
                                  std::vector<Report> &answers)
{
    for (int at = 0; at < size; at += DataChunk) {
        const int count = std::min(DataChunk, size - at);
        Report report(PayloadSize, 0);
        report[1] = marker;
        report[2] = std::uint8_t(count);
        std::memcpy(report.data() + 3, data + at, std::size_t(count));
        answers.push_back(std::move(report));
    }
    Report end(PayloadSize, 0);
    end[1] = Byte::AreaEnd;
    answers.push_back(std::move(end));
}

void KeyboardProtocol::answerVersion(std::vector<Report> &answers) const
{
    Report report(PayloadSize, 0);
    report[1] = Byte::ReadVersion;
    const std::size_t count = std::min<std::size_t>(m_memory.version.size(), PayloadSize - 2);
    std::memcpy(report.data() + 2, m_memory.version.data(), count);
    answers.push_back(std::move(report));
}

} // namespace quillosim
