#include "jobs/TransferJob.h"

#include "model/Configuration.h"
#include "model/PressCounters.h"

#include <thread>

namespace {

constexpr std::uintptr_t SingleStep = quillodev::ProgressScale; // a full bar

} // namespace

bool TransferJob::isJob(int code)
{
    return code == WriteKeys || code == ReadKeysAndLights || code == WriteLights
           || code == ReadCounters || code == ReadLights;
}

bool TransferJob::writes(int code)
{
    return code == WriteKeys || code == WriteLights;
}

TransferJob::TransferJob(CNuboHWI &device, const JobData &data, int code, Waits waits)
    : m_device(device)
    , m_data(data)
    , m_code(code)
    , m_waits(waits)
{
    if (code == WriteKeys) {
        m_encoded.arrays.assign(std::size_t(DeviceTransfer::SlotCount), {});
        m_encoded.toSet.assign(std::size_t(DeviceTransfer::SlotCount), false);
    } else if (code == ReadKeysAndLights) {
        m_codes = data.configuration.code;
    } else if (code == WriteLights) {
        m_lights = LightArea::fromSettings(data.configuration.lightSettings);
    }
}

bool TransferJob::prepare(std::chrono::microseconds budget)
{
    if (m_code != WriteKeys)
        return true;
    const auto until = std::chrono::steady_clock::now() + budget;
    while (m_nextSlot < DeviceTransfer::SlotCount) {
        m_result = DeviceTransfer::encodeSlot(m_data.catalogue, m_data.configuration, m_nextSlot++,
                                              m_encoded);
        if (!m_result) {
            // Nothing is sent; the rest need not be looked at.
            m_nextSlot = DeviceTransfer::SlotCount;
            break;
        }
        if (std::chrono::steady_clock::now() >= until)
            break;
    }
    return m_nextSlot >= DeviceTransfer::SlotCount;
}

void TransferJob::pause(std::chrono::milliseconds wait) const
{
    if (wait.count() > 0)
        std::this_thread::sleep_for(wait);
}

void TransferJob::run(WindowHandle window)
{
    CNuboHWI &device = m_device;
    switch (m_code) {
    case WriteKeys:
        // Not started before prepare() was done: nothing half encoded goes out.
        if (m_nextSlot < DeviceTransfer::SlotCount)
            m_result = {TransferResult::Status::DeviceFailed, 0, 0};
        // A key the keyboard cannot hold was found while encoding: nothing is sent.
        if (m_result)
            m_result = DeviceTransfer::sendKeyAssignments(device, m_encoded, window);
        if (m_result)
            pause(m_waits.afterKeyWrite);
        break;
    case ReadKeysAndLights:
        m_result = DeviceTransfer::fetchKeyAssignments(device, m_data.catalogue, m_codes, m_keys,
                                                       window);
        if (m_result) {
            pause(m_waits.beforeLightRead);
            m_result = DeviceTransfer::fetchLights(device, m_lights);
        }
        break;
    case WriteLights:
        m_result = DeviceTransfer::sendLights(device, m_lights);
        break;
    case ReadCounters:
        m_result = DeviceTransfer::fetchPressCounters(device, m_counts);
        break;
    case ReadLights:
        m_result = DeviceTransfer::fetchLights(device, m_lights);
        break;
    default:
        m_result = {TransferResult::Status::DeviceFailed, 0, 0};
        break;
    }
    if (m_code != WriteKeys && m_code != ReadKeysAndLights && m_result) {
        postTo(window, quillodev::DeviceMessageProgress, SingleStep, 0);
        pause(m_waits.afterSingleStep);
    }
    postTo(window, quillodev::DeviceMessageDone, 0, 0);
}

TransferResult TransferJob::finish()
{
    if (m_finished || !m_result)
        return m_result;
    m_finished = true;
    switch (m_code) {
    case ReadKeysAndLights:
        // Both halves or nothing: a model half read back is worse than the one the user had.
        DeviceTransfer::applyKeyAssignments(m_data.configuration, std::move(m_keys));
        LightArea::toSettings(m_lights, m_data.configuration.lightSettings);
        break;
    case ReadCounters:
        DeviceTransfer::applyPressCounters(m_data.pressCounters, m_counts);
        break;
    case ReadLights:
        LightArea::toSettings(m_lights, m_data.configuration.lightSettings);
        break;
    default:
        break;
    }
    return m_result;
}
