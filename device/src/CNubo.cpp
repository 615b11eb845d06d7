#include "device/src/CNubo.h"

#include "device/src/CContinousKeyDefine.h"
#include "device/src/CMacroKeyDefine.h"
#include "device/src/CNormalKeyDefine.h"

#include <quillodev/CKeyboardUtil.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned char WriteDefinitionsCommand = 0xF1;
constexpr unsigned char ReadDefinitionsCommand = 0xF2;
constexpr unsigned char RecordMarker = 0xF0;
constexpr unsigned char DefinitionsEnd = 0xF6;
constexpr unsigned char WriteLightsCommand = 0xE1;
constexpr unsigned char ReadLightsCommand = 0xE2;
constexpr unsigned char LightData = 0xE0;
constexpr unsigned char CountersCommand = 0xE3;
constexpr unsigned char AreaEnd = 0xE6;
constexpr int MaxAreaChunk = 61;

// Bounds on how many reports one read exchange takes, so that a keyboard sending endless
// unrelated reports cannot keep the exchange going forever. The definition bound admits every
// slot holding the longest possible macro.
constexpr long MaxDefinitionReports
    = long(CNubo::SlotCount) * CMacroKeyDefine::blocksFor(CMacroKeyDefine::MaxDataLength) + 4096;
constexpr int MaxAreaReports = 1024;

} // namespace

CNubo::CNubo(CKeyboardUtil *transport)
    : m_transport(transport)
{}

CNubo::~CNubo() = default;

int CNubo::slotOf(int layer, int key)
{
    if (layer < 1 || layer > 2 || key < 1 || key > KeyCount)
        return -1;
    return (layer - 1) * KeyCount + key - 1;
}

bool CNubo::setRecord(int slot, std::unique_ptr<CKeyDefine> record)
{
    if (slot < 0 || slot >= SlotCount)
        return false;
    DefinitionTable[size_t(slot)] = std::move(record);
    return true;
}

const CKeyDefine *CNubo::record(int slot) const
{
    if (slot < 0 || slot >= SlotCount)
        return nullptr;
    return DefinitionTable[size_t(slot)].get();
}

void CNubo::clearDefinitions()
{
    for (auto &record : DefinitionTable)
        record.reset();
}

bool CNubo::sendPayload(const unsigned char *payload)
{
    if (!m_transport)
        return false;
    unsigned char report[ReportSize] = {};
    std::memcpy(report + 1, payload, PayloadSize);
    return m_transport->writeReport(report, ReportSize);
}

bool CNubo::sendCommand(unsigned char command)
{
    unsigned char payload[PayloadSize] = {};
    payload[1] = command;
    return sendPayload(payload);
}

bool CNubo::readPayload(unsigned char *payload)
{
    if (!m_transport)
        return false;
    std::memset(payload, 0, PayloadSize);
    unsigned int length = PayloadSize;
    return m_transport->readReport(payload, length, CKeyboardUtil::ReadTimeoutMs);
}

bool CNubo::sendEmptyRecord(int layer, int key)
{
    CNormalKeyDefine empty(key, layer);
    unsigned char payload[PayloadSize];
    int size = PayloadSize;
    empty.toDeviceBytes(payload, PayloadSize, size, nullptr);
    return sendPayload(payload);
}

bool CNubo::writeKeyDefinitions(WindowHandle window)
{
    if (!sendCommand(WriteDefinitionsCommand))
        return false;
    std::vector<unsigned char> buffer;
    for (int layer = 1; layer <= 2; ++layer) {
        for (int key = 1; key <= KeyCount; ++key) {
            const int slot = slotOf(layer, key);
            CKeyDefine *record = DefinitionTable[size_t(slot)].get();
            int size = 0;
            if (record)
                record->toDeviceBytes(nullptr, PayloadSize, size, nullptr);
            if (size <= 0) {
                // An empty slot, or a macro without entries: the key gets an empty record so
                // that nothing the keyboard held before survives the write.
                if (!sendEmptyRecord(layer, key))
                    return false;
            } else {
                buffer.assign(size_t(size), 0);
                // A continuous record without codes reports false yet is sent as encoded.
                record->toDeviceBytes(buffer.data(), PayloadSize, size, nullptr);
                for (int offset = 0; offset + PayloadSize <= size; offset += PayloadSize) {
                    if (!sendPayload(buffer.data() + offset))
                        return false;
                }
            }
            postTo(window, quillodev::DeviceMessageProgress, std::uintptr_t(slot), 0);
        }
    }
    unsigned char end[PayloadSize];
    std::memset(end, DefinitionsEnd, PayloadSize);
    end[0] = 0x00;
    return sendPayload(end);
}

std::unique_ptr<CKeyDefine> CNubo::readRecord(const unsigned char *first, long &reports,
                                              RecordRead &outcome)
{
    outcome = RecordRead::Decoded;
    const int layer = first[2];
    const int key = first[3];
    const int type = first[4];

    if (type == 0 || type == 1) {
        std::unique_ptr<CKeyDefine> record;
        if (type == 0)
            record = std::make_unique<CNormalKeyDefine>(key, layer);
        else
            record = std::make_unique<CContinousKeyDefine>(key, layer);
        if (!record->fromDeviceBytes(first, PayloadSize, PayloadSize)) {
            outcome = RecordRead::Damaged;
            return nullptr;
        }
        return record;
    }
    if (type < 2 || type > 4) {
        outcome = RecordRead::UnknownType;
        return nullptr;
    }

    // The 16-bit length bounds the number of blocks that follow the first.
    const int length = first[9] * 256 + first[10];
    const int blocks = std::max(1, CMacroKeyDefine::blocksFor(length));
    std::vector<unsigned char> joined(size_t(blocks * PayloadSize));
    std::memcpy(joined.data(), first, PayloadSize);
    for (int block = 1; block < blocks; ++block, ++reports) {
        // Taken as the next block whatever it holds.
        if (!readPayload(joined.data() + block * PayloadSize)) {
            outcome = RecordRead::ReadFailed;
            return nullptr;
        }
    }
    auto record = std::make_unique<CMacroKeyDefine>(key, layer, type);
    if (!record->fromDeviceBytes(joined.data(), PayloadSize, int(joined.size()))) {
        outcome = RecordRead::Damaged;
        return nullptr;
    }
    return record;
}

bool CNubo::readKeyDefinitions(WindowHandle window)
{
    if (!sendCommand(ReadDefinitionsCommand))
        return false;
    unsigned char payload[PayloadSize];
    bool damaged = false;
    for (long reports = 0; reports < MaxDefinitionReports; ++reports) {
        if (!readPayload(payload))
            return false;
        if (payload[0] == DefinitionsEnd)
            return !damaged;
        if (payload[1] != RecordMarker)
            continue;
        RecordRead outcome = RecordRead::Decoded;
        std::unique_ptr<CKeyDefine> record = readRecord(payload, reports, outcome);
        if (outcome == RecordRead::ReadFailed)
            return false;
        // A damaged record fails the whole read, which still runs to its end marker so that
        // the rest of the answer is not taken for the next exchange's.
        if (outcome == RecordRead::Damaged)
            damaged = true;
        const int slot = slotOf(payload[2], payload[3]);
        // Records for keys or types the table has no place for carry nothing usable.
        if (!record || slot < 0)
            continue;
        DefinitionTable[size_t(slot)] = std::move(record);
        postTo(window, quillodev::DeviceMessageProgress, std::uintptr_t(slot), 0);
    }
    return false;
}

bool CNubo::writeLightArea(const int *values)
{
    if (!values)
        return false;
    for (int i = 0; i < LightAreaSize; ++i)
        LightArea[i] = static_cast<unsigned char>(values[i] & 0xFF);
    if (!sendCommand(WriteLightsCommand))
        return false;
    for (int offset = 0; offset < LightAreaSize; offset += MaxAreaChunk) {
        const int n = std::min(MaxAreaChunk, LightAreaSize - offset);
        unsigned char payload[PayloadSize] = {};
        payload[1] = LightData;
        payload[2] = static_cast<unsigned char>(n);
        std::memcpy(payload + 3, LightArea + offset, size_t(n));
        if (!sendPayload(payload))
            return false;
    }
    unsigned char end[PayloadSize];
    std::memset(end, AreaEnd, PayloadSize);
    return sendPayload(end);
}

bool CNubo::readArea(unsigned char command, unsigned char dataMarker, unsigned char *area,
                     int areaSize)
{
    if (!sendCommand(command))
        return false;
    unsigned char payload[PayloadSize];
    int offset = 0;
    for (int reports = 0; reports < MaxAreaReports; ++reports) {
        if (!readPayload(payload))
            return false;
        if (payload[1] == AreaEnd)
            return true;
        if (payload[1] != dataMarker)
            continue;
        // Data past the area, or a count larger than a report holds, is dropped.
        const int n = std::min(int(payload[2]), MaxAreaChunk);
        const int take = std::clamp(areaSize - offset, 0, n);
        if (take > 0)
            std::memcpy(area + offset, payload + 3, size_t(take));
        offset += take;
    }
    return false;
}

bool CNubo::readLightArea()
{
    return readArea(ReadLightsCommand, LightData, LightArea, LightAreaSize);
}

bool CNubo::readPressCounters()
{
    return readArea(CountersCommand, CountersCommand, CounterArea, CounterAreaSize);
}
