#include "sim/FaultInjector.h"

namespace quillosim {

namespace {

using Exchange = KeyboardProtocol::Exchange;

constexpr int GarbageReports = 48;
constexpr int OversizeSize = 2 * PayloadSize;

bool endsWithMarker(Exchange exchange)
{
    return exchange == Exchange::ReadKeys || exchange == Exchange::ReadLights
           || exchange == Exchange::ReadCounters;
}

Report keyRecord(int layer, int key, int type)
{
    Report record(PayloadSize, 0);
    record[1] = Byte::KeyRecord;
    record[2] = std::uint8_t(layer);
    record[3] = std::uint8_t(key);
    record[4] = std::uint8_t(type);
    return record;
}

} // namespace

void FaultInjector::set(const SimFaults &faults)
{
    m_faults = faults;
    m_writes = 0;
    m_reads = 0;
    m_crossed = 0;
}

bool FaultInjector::failThisWrite()
{
    return awake() && m_faults.failWriteAt > 0 && ++m_writes == m_faults.failWriteAt;
}

bool FaultInjector::failThisRead()
{
    return awake() && m_faults.failReadAt > 0 && ++m_reads == m_faults.failReadAt;
}

bool FaultInjector::reportCrossed()
{
    if (awake())
        return false;
    ++m_crossed;
    return awake();
}

void FaultInjector::shape(Exchange exchange, std::vector<Report> &answers)
{
    if (answers.empty() || !awake())
        return;
    if (m_faults.silent) {
        answers.clear();
        return;
    }
    if (m_faults.garbage) {
        const int count = exchange == Exchange::Version ? 1 : GarbageReports;
        answers.clear();
        for (int i = 0; i < count; ++i)
            answers.push_back(garbageReport());
        return;
    }
    if (m_faults.oversize)
        makeOversize(exchange, answers);
    if (m_faults.foreignRecords)
        addForeign(exchange, answers);
    if (m_faults.noEndMarker && endsWithMarker(exchange))
        answers.pop_back();
}

std::uint32_t FaultInjector::random()
{
    // xorshift32: the same garbage on every run.
    m_seed ^= m_seed << 13;
    m_seed ^= m_seed >> 17;
    m_seed ^= m_seed << 5;
    return m_seed;
}

Report FaultInjector::garbageReport()
{
    Report report(PayloadSize);
    for (std::uint8_t &byte : report)
        byte = std::uint8_t(random());
    // Mostly reports that look like answers, so the host's parsers are exercised, never an
    // end marker, so the exchange cannot end well.
    static constexpr std::uint8_t kinds[] = {Byte::KeyRecord, Byte::LightData, Byte::ReadCounters};
    const std::uint32_t kind = random() % 4;
    if (kind < 3)
        report[1] = kinds[kind];
    if (report[0] == Byte::KeysEnd)
        report[0] = 0;
    if (report[1] == Byte::AreaEnd || report[1] == Byte::KeysEnd)
        report[1] = 0;
    return report;
}

void FaultInjector::makeOversize(Exchange exchange, std::vector<Report> &answers)
{
    Report end;
    if (endsWithMarker(exchange)) {
        end = std::move(answers.back());
        answers.pop_back();
    }
    // Every report comes longer than the host asks for.
    for (Report &answer : answers)
        answer.resize(OversizeSize, 0xA5);

    if (exchange == Exchange::ReadKeys) {
        // Records claiming more codes than a payload holds, for slots sent again properly later.
        Report normal = keyRecord(1, 1, 0);
        Report continuous = keyRecord(1, 2, 1);
        for (int i = 5; i < PayloadSize; ++i) {
            normal[std::size_t(i)] = 0xFF;
            continuous[std::size_t(i)] = 0xFF;
        }
        answers.insert(answers.begin(), {std::move(normal), std::move(continuous)});
    } else if (exchange == Exchange::ReadLights || exchange == Exchange::ReadCounters) {
        // More data than the area holds, in reports claiming more than a payload carries.
        const std::uint8_t marker = answers.front()[1];
        for (int i = 0; i < 8; ++i) {
            Report extra(OversizeSize, 0x5A);
            extra[0] = 0;
            extra[1] = marker;
            extra[2] = 0xFF;
            answers.push_back(std::move(extra));
        }
    }
    if (!end.empty())
        answers.push_back(std::move(end));
}

void FaultInjector::addForeign(Exchange exchange, std::vector<Report> &answers)
{
    if (!endsWithMarker(exchange))
        return;
    std::vector<Report> extra;
    if (exchange == Exchange::ReadKeys) {
        // Slots outside the table.
        const int places[][2] = {{0, 1}, {3, 1}, {1, 0}, {1, 109}, {2, 255}, {255, 255}};
        for (const auto &place : places) {
            Report record = keyRecord(place[0], place[1], 0);
            record[5] = 1;
            record[6] = 4;
            extra.push_back(std::move(record));
        }
        // A two-block macro for a slot outside the table.
        Report macro = keyRecord(3, 1, 2);
        macro[10] = 100;
        extra.push_back(macro);
        extra.push_back(macro);
        // Unknown types for real slots, which the proper records then overwrite.
        for (int type : {5, 0x7F, 0xFF}) {
            Report record = keyRecord(1, 3, type);
            record[5] = 1;
            record[6] = 4;
            extra.push_back(std::move(record));
        }
    }
    // Reports of a kind no exchange knows.
    Report unknown(PayloadSize, 0x33);
    unknown[0] = 0;
    unknown[1] = 0x42;
    extra.push_back(std::move(unknown));
    answers.insert(answers.begin(), extra.begin(), extra.end());
}

} // namespace quillosim
