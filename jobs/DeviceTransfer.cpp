#include "jobs/DeviceTransfer.h"

#include "jobs/KeyConfigCodec.h"
#include "model/Configuration.h"
#include "model/PressCounters.h"

#include <quillodev/CNuboHWI.h>

#include <algorithm>

namespace {

constexpr int Layers = 2;

TransferResult failed()
{
    return {TransferResult::Status::DeviceFailed, 0, 0};
}

std::size_t slotOf(int layer, int key)
{
    return std::size_t(layer * Configuration::KeyCount + key - 1);
}

// Passes the library's progress on, counting the keys it has sent.
class SentKeys : public MessageTarget {
public:
    explicit SentKeys(WindowHandle window)
        : m_window(window)
    {}

    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        if (message == quillodev::DeviceMessageProgress)
            ++m_count;
        postTo(m_window, message, wParam, lParam);
    }
    int count() const { return m_count; }

private:
    WindowHandle m_window;
    int m_count = 0; // posted on the thread that runs the write
};

bool carriesAction(int category)
{
    return category == KeyAssignment::Combo || category == KeyAssignment::Macro
           || category == KeyAssignment::Emulation;
}

} // namespace

TransferResult DeviceTransfer::encodeKeyAssignments(const KeyCatalogue &catalogue,
                                                    const Configuration &configuration,
                                                    EncodedKeys &encoded)
{
    encoded.arrays.assign(std::size_t(SlotCount), {});
    encoded.toSet.assign(std::size_t(SlotCount), false);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const TransferResult result = encodeSlot(catalogue, configuration, slot, encoded);
        if (!result)
            return result;
    }
    return {};
}

TransferResult DeviceTransfer::encodeSlot(const KeyCatalogue &catalogue,
                                          const Configuration &configuration, int slot,
                                          EncodedKeys &encoded)
{
    if (slot < 0 || slot >= SlotCount || encoded.arrays.size() != std::size_t(SlotCount)
        || encoded.toSet.size() != std::size_t(SlotCount))
        return failed();
    const int layer = slot / Configuration::KeyCount;
    const int key = slot % Configuration::KeyCount + 1;
    const std::size_t i = std::size_t(slot);
    const std::size_t entry = std::size_t(Configuration::index(key, layer));
    KeyConfigCodec::Check check;
    switch (KeyConfigCodec::encode(catalogue, configuration.category[entry],
                                   configuration.code[entry], configuration.action[entry],
                                   encoded.arrays[i], &check)) {
    case KeyConfigCodec::Encoded::Set:
        encoded.toSet[i] = true;
        break;
    case KeyConfigCodec::Encoded::Empty:
        encoded.toSet[i] = false;
        break;
    case KeyConfigCodec::Encoded::Invalid:
        return {TransferResult::Status::AssignmentRefused, key, layer};
    case KeyConfigCodec::Encoded::Misread:
        return {TransferResult::Status::AssignmentRefused,
                key,
                layer,
                check.step,
                check.stepText,
                check.delayAsKey,
                check.readAs,
                check.readAsName};
    }
    return {};
}

TransferResult DeviceTransfer::sendKeyAssignments(CNuboHWI &device, const EncodedKeys &encoded,
                                                  WindowHandle progress)
{
    if (encoded.arrays.size() != std::size_t(SlotCount)
        || encoded.toSet.size() != std::size_t(SlotCount))
        return failed();
    if (!device.prepare())
        return failed();
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= Configuration::KeyCount; ++key) {
            const std::size_t slot = slotOf(layer, key);
            if (!encoded.toSet[slot])
                continue; // the library sends the key as an empty record
            // The facade takes a writable array but does not change it.
            std::vector<int> array = encoded.arrays[slot];
            // The array already fits every limit of a record, so a refusal here means the
            // facade is closed or busy.
            if (!device.setKeyConfiguration(layer, key, array.data(), int(array.size())))
                return failed();
        }
    }
    SentKeys sent(progress);
    if (device.writeKeyConfigurationToDev(&sent))
        return {};
    // Keys sent before the failure are on the keyboard now, beside those it held before.
    return sent.count() > 0 ? TransferResult{TransferResult::Status::PartlyWritten, 0, 0}
                            : failed();
}

TransferResult DeviceTransfer::writeKeyAssignments(CNuboHWI &device, const KeyCatalogue &catalogue,
                                                   const Configuration &configuration,
                                                   WindowHandle progress)
{
    // Encode everything first, so that an assignment the keyboard cannot hold stops the
    // write before any of it reaches the keyboard.
    EncodedKeys encoded;
    const TransferResult result = encodeKeyAssignments(catalogue, configuration, encoded);
    if (!result)
        return result;
    return sendKeyAssignments(device, encoded, progress);
}

TransferResult
DeviceTransfer::fetchKeyAssignments(CNuboHWI &device, const KeyCatalogue &catalogue,
                                    const std::array<int, quillodev::EntryArraySize> &codes,
                                    ReadKeys &read, WindowHandle progress)
{
    read.clear();
    if (!device.readKeyDefinationFromDev(progress))
        return failed();

    ReadKeys keys(static_cast<std::size_t>(SlotCount));
    std::vector<int> array(static_cast<std::size_t>(KeyConfigCodec::Capacity));
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= Configuration::KeyCount; ++key) {
            std::fill(array.begin(), array.end(), 0);
            if (!device.getKeyConfiguration(layer, key, array.data(), int(array.size())))
                return failed();
            // The action is left out: the model keeps its own unless the record brings one.
            KeyAssignment current;
            current.code = codes[std::size_t(Configuration::index(key, layer))];
            keys[slotOf(layer, key)]
                = KeyConfigCodec::decode(catalogue, array.data(), int(array.size()), current);
        }
    }
    read = std::move(keys);
    return {};
}

void DeviceTransfer::applyKeyAssignments(Configuration &configuration, ReadKeys &&read)
{
    if (read.size() != std::size_t(SlotCount))
        return;
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= Configuration::KeyCount; ++key) {
            KeyAssignment &value = read[slotOf(layer, key)];
            const std::size_t i = std::size_t(Configuration::index(key, layer));
            configuration.category[i] = value.category;
            configuration.code[i] = value.code;
            if (carriesAction(value.category))
                configuration.action[i] = std::move(value.action);
        }
    }
}

TransferResult DeviceTransfer::readKeyAssignments(CNuboHWI &device, const KeyCatalogue &catalogue,
                                                  Configuration &configuration,
                                                  WindowHandle progress)
{
    // Decoded into a copy that is taken over only once every key has been read.
    ReadKeys read;
    const TransferResult result
        = fetchKeyAssignments(device, catalogue, configuration.code, read, progress);
    if (result)
        applyKeyAssignments(configuration, std::move(read));
    return result;
}

TransferResult DeviceTransfer::sendLights(CNuboHWI &device, const LightArea::Values &values)
{
    LightArea::Values copy = values;
    return device.setKeyboardLightArea(copy.data()) ? TransferResult{} : failed();
}

TransferResult DeviceTransfer::fetchLights(CNuboHWI &device, LightArea::Values &values)
{
    LightArea::Values read{};
    if (!device.readKeyLightFromDev() || !device.getKeyboardLightArea(read.data()))
        return failed();
    values = read;
    return {};
}

TransferResult DeviceTransfer::writeLights(CNuboHWI &device, const LightSettings &lights,
                                           WindowHandle /*progress*/)
{
    return sendLights(device, LightArea::fromSettings(lights));
}

TransferResult DeviceTransfer::readLights(CNuboHWI &device, LightSettings &lights,
                                          WindowHandle /*progress*/)
{
    LightArea::Values values{};
    const TransferResult result = fetchLights(device, values);
    if (result)
        LightArea::toSettings(values, lights);
    return result;
}

TransferResult DeviceTransfer::fetchPressCounters(CNuboHWI &device, Counts &counts)
{
    Counts read{};
    if (!device.getPressCounterFromDev(read.data()))
        return failed();
    counts = read;
    return {};
}

void DeviceTransfer::applyPressCounters(PressCounters &counters, const Counts &counts)
{
    for (int key = 1; key <= Configuration::KeyCount; ++key)
        counters.counts[std::size_t(key)] = counts[std::size_t(key - 1)];
    counters.updateExtremes();
}

TransferResult DeviceTransfer::readPressCounters(CNuboHWI &device, PressCounters &counters,
                                                 WindowHandle /*progress*/)
{
    Counts counts{};
    const TransferResult result = fetchPressCounters(device, counts);
    if (result)
        applyPressCounters(counters, counts);
    return result;
}
