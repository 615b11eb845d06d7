#pragma once

#include "jobs/DeviceTransfer.h"
#include "jobs/JobData.h"

#include <quillodev/MessageTarget.h>

#include <array>
#include <chrono>

// The pauses of the jobs, in which the keyboard stores to its flash.
struct TransferWaits {
    std::chrono::milliseconds afterKeyWrite{1000};
    std::chrono::milliseconds beforeLightRead{2000};
    std::chrono::milliseconds afterSingleStep{1000};
};

// One job of the progress dialog. The worker only talks to the keyboard and works on copies:
// what a write sends is taken from the model on the user-interface thread before the worker
// starts (the key write encodes every key there, in slices, see prepare()), and what a read
// brings is taken over into the model by finish(), on the same thread, so that a job the user
// cancelled never changes the model and the user may edit again at once.
class TransferJob {
public:
    enum Code : int {
        WriteKeys = 1,
        ReadKeysAndLights = 3,
        WriteLights = 4,
        ReadCounters = 5,
        ReadLights = 6,
    };

    using Waits = TransferWaits;

    static bool isJob(int code);
    // Whether the job writes to the keyboard (for the failure message).
    static bool writes(int code);

    // On the user-interface thread; copies what the worker needs from the model. The job
    // talks to the keyboard through `device`.
    TransferJob(CNuboHWI &device, const JobData &data, int code, Waits waits = {});
    TransferJob(const TransferJob &) = delete;
    TransferJob &operator=(const TransferJob &) = delete;

    int code() const { return m_code; }

    // On the user-interface thread, before the worker starts: takes the next part of what the
    // worker sends, for about `budget`, so that the window stays live while a large
    // configuration is encoded (a maximal one takes a good part of a second). True once all
    // of it is taken; the jobs other than the key write take theirs when they are made.
    bool prepare(std::chrono::microseconds budget);

    // On the worker: the job's exchanges and waits. Progress goes to `window` as the device
    // library posts it (jobs 1 and 3) or as the single step 150 (the others), then
    // DeviceMessageDone. A failed exchange skips the rest and the waits.
    void run(WindowHandle window);

    // On the user-interface thread once DeviceMessageDone has arrived: the job's outcome,
    // and on success what was read is taken into the model. Later calls change nothing.
    TransferResult finish();

private:
    void pause(std::chrono::milliseconds wait) const;

    CNuboHWI &m_device;
    const JobData m_data;
    const int m_code;
    const Waits m_waits;
    bool m_finished = false;

    // Taken before the worker starts, read by it only.
    DeviceTransfer::EncodedKeys m_encoded;
    int m_nextSlot = 0;
    // Written by the worker before it posts done, read after done arrived.
    TransferResult m_result;
    std::array<int, quillodev::EntryArraySize> m_codes{};
    LightArea::Values m_lights{};
    DeviceTransfer::ReadKeys m_keys;
    DeviceTransfer::Counts m_counts{};
};
