#include "sim/KeyboardMemory.h"

#include "model/DefaultCodes.h"
#include "sim/FactoryData.h"

namespace quillosim {

KeyboardMemory KeyboardMemory::factory(int variant)
{
    KeyboardMemory memory;
    memory.variant = variant;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const int code = DefaultCodes::code(variant, slot % KeyCount + 1, slot / KeyCount);
        if (code == 0)
            continue;
        Report record = emptyRecord(slot);
        record[5] = 1;
        record[6] = std::uint8_t(code);
        memory.records[std::size_t(slot)] = std::move(record);
    }
    memory.lights = FactoryData::lights;
    memory.counters = FactoryData::counters;
    memory.version = FactoryData::version;
    return memory;
}

Report KeyboardMemory::emptyRecord(int slot)
{
    Report record(PayloadSize, 0);
    record[1] = Byte::KeyRecord;
    record[2] = std::uint8_t(slot / KeyCount + 1);
    record[3] = std::uint8_t(slot % KeyCount + 1);
    return record;
}

} // namespace quillosim
