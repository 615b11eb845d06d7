#pragma once

#include <quillodev/KeyCounts.h>

#include <cstdint>
#include <vector>

namespace quillosim {

constexpr int KeyCount = quillodev::KeyCount;
constexpr int SlotCount = quillodev::SlotCount;
constexpr int LightAreaSize = 3 * KeyCount;
constexpr int CounterAreaSize = 4 * KeyCount;
constexpr int ReportSize = 65; // report number 0 and the payload
constexpr int PayloadSize = 64;
constexpr int MacroHeaderSize = 11;
constexpr int MacroBlockData = PayloadSize - MacroHeaderSize; // 53
constexpr int DataChunk = 61; // data bytes per light or counter report

// Command and marker bytes of the report protocol.
namespace Byte {
constexpr std::uint8_t WriteKeys = 0xF1;
constexpr std::uint8_t ReadKeys = 0xF2;
constexpr std::uint8_t KeyRecord = 0xF0;
constexpr std::uint8_t KeysEnd = 0xF6;
constexpr std::uint8_t WriteLights = 0xE1;
constexpr std::uint8_t ReadLights = 0xE2;
constexpr std::uint8_t LightData = 0xE0;
constexpr std::uint8_t ReadCounters = 0xE3; // also the counter data marker
constexpr std::uint8_t AreaEnd = 0xE6;
constexpr std::uint8_t ReadVersion = 0xF9;
constexpr std::uint8_t FirmwareRecord = 0x3A; // ':'
} // namespace Byte

// A report as it travels from the keyboard: the payload, normally 64 bytes.
using Report = std::vector<std::uint8_t>;

// Slot of the definition table addressed by a record's layer (1, 2) and key (1..108) bytes;
// -1 when outside the table.
constexpr int slotOf(int layer, int key)
{
    return layer >= 1 && layer <= 2 && key >= 1 && key <= KeyCount
               ? (layer - 1) * KeyCount + key - 1
               : -1;
}

} // namespace quillosim
