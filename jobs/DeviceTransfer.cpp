#include "jobs/DeviceTransfer.h"

#include "app/AppState.h"
#include "jobs/KeyConfigCodec.h"
#include "lighting/LightArea.h"

#include <vector>

namespace {

constexpr int Layers = 2;

TransferResult failed()
{
    return {TransferResult::Status::DeviceFailed, 0, 0};
}

} // namespace

TransferResult DeviceTransfer::writeKeyAssignments(AppState &state, WindowHandle progress)
{
    // Encode everything first, so that an assignment the keyboard cannot hold stops the
    // write before any of it reaches the keyboard.
    std::vector<std::vector<int>> arrays(std::size_t(Layers * AppState::KeyCount));
    std::vector<bool> toSet(arrays.size(), false);
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            const std::size_t slot = std::size_t(layer * AppState::KeyCount + key - 1);
            switch (KeyConfigCodec::encode(state.catalogue, state.assignment(key, layer),
                                           arrays[slot])) {
            case KeyConfigCodec::Encoded::Set:
                toSet[slot] = true;
                break;
            case KeyConfigCodec::Encoded::Empty:
                break;
            case KeyConfigCodec::Encoded::Invalid:
                return {TransferResult::Status::AssignmentRefused, key, layer};
            }
        }
    }

    if (!state.hwi.prepare())
        return failed();
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            const std::size_t slot = std::size_t(layer * AppState::KeyCount + key - 1);
            if (!toSet[slot])
                continue; // the library sends the key as an empty record
            std::vector<int> &array = arrays[slot];
            // The array already fits every limit of a record, so a refusal here means the
            // facade is closed or busy.
            if (!state.hwi.setKeyConfiguration(layer, key, array.data(), int(array.size())))
                return failed();
        }
    }
    return state.hwi.writeKeyConfigurationToDev(progress) ? TransferResult{} : failed();
}

TransferResult DeviceTransfer::readKeyAssignments(AppState &state, WindowHandle progress)
{
    if (!state.hwi.readKeyDefinationFromDev(progress))
        return failed();

    // Decode into a copy and take it over only once every key has been read.
    std::vector<KeyAssignment> read(std::size_t(Layers * AppState::KeyCount));
    std::vector<int> array(static_cast<std::size_t>(KeyConfigCodec::Capacity));
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            std::fill(array.begin(), array.end(), 0);
            if (!state.hwi.getKeyConfiguration(layer, key, array.data(), int(array.size())))
                return failed();
            read[std::size_t(layer * AppState::KeyCount + key - 1)] = KeyConfigCodec::decode(
                state.catalogue, array.data(), int(array.size()), state.assignment(key, layer));
        }
    }
    for (int layer = 0; layer < Layers; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key)
            state.setAssignment(key, layer,
                                read[std::size_t(layer * AppState::KeyCount + key - 1)]);
    }
    return {};
}

TransferResult DeviceTransfer::writeLights(AppState &state, WindowHandle /*progress*/)
{
    LightArea::Values values = LightArea::fromSettings(state.lightSettings);
    return state.hwi.setKeyboardLightArea(values.data()) ? TransferResult{} : failed();
}

TransferResult DeviceTransfer::readLights(AppState &state, WindowHandle /*progress*/)
{
    LightArea::Values values{};
    if (!state.hwi.readKeyLightFromDev() || !state.hwi.getKeyboardLightArea(values.data()))
        return failed();
    LightArea::toSettings(values, state.lightSettings);
    return {};
}

TransferResult DeviceTransfer::readPressCounters(AppState &state, WindowHandle /*progress*/)
{
    std::array<int, AppState::KeyCount> counts{};
    if (!state.hwi.getPressCounterFromDev(counts.data()))
        return failed();
    for (int key = 1; key <= AppState::KeyCount; ++key)
        state.pressCounters.counts[std::size_t(key)] = counts[std::size_t(key - 1)];
    state.pressCounters.updateExtremes();
    return {};
}
