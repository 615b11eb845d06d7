#pragma once

#include "jobs/DeviceTransfer.h"

#include <quillodev/MessageTarget.h>

#include <array>
#include <atomic>
#include <chrono>

class AppState;

// Posted by a key write once its worker no longer reads the model, so that a cancelled
// dialog can let the user edit again without a thread still reading what is edited.
constexpr unsigned int ModelReleasedMessage = 0x46A;

// The pauses of the jobs, in which the keyboard stores to its flash.
struct TransferWaits {
    std::chrono::milliseconds afterKeyWrite{1000};
    std::chrono::milliseconds beforeLightRead{2000};
    std::chrono::milliseconds afterSingleStep{1000};
};

// One job of the progress dialog. The worker only talks to the keyboard and works on copies;
// what the job reads is taken over into the model by finish(), on the user-interface thread,
// so that a job the user cancelled never changes the model. The one exception is the key
// write, whose worker encodes from the model itself (copying a large model would stall the
// window) and posts ModelReleasedMessage when it is done with it.
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

    // On the user-interface thread; copies the little the worker needs from the model.
    TransferJob(AppState &state, int code, Waits waits = {});
    TransferJob(const TransferJob &) = delete;
    TransferJob &operator=(const TransferJob &) = delete;

    int code() const { return m_code; }

    // On the worker: the job's exchanges and waits. Progress goes to `window` as the device
    // library posts it (jobs 1 and 3) or as the single step 150 (the others), then
    // DeviceMessageDone. A failed exchange skips the rest and the waits.
    void run(WindowHandle window);
    // True while the worker still reads the model.
    bool readsModel() const { return m_readsModel.load(); }

    // On the user-interface thread once DeviceMessageDone has arrived: the job's outcome,
    // and on success what was read is taken into the model. Later calls change nothing.
    TransferResult finish();

private:
    void releaseModel(WindowHandle window);
    void pause(std::chrono::milliseconds wait) const;

    AppState &m_state;
    const int m_code;
    const Waits m_waits;
    std::atomic<bool> m_readsModel{false};
    bool m_finished = false;

    // Written by the worker before it posts done, read after done arrived.
    TransferResult m_result;
    std::array<int, 218> m_codes{};
    LightArea::Values m_lights{};
    DeviceTransfer::ReadKeys m_keys;
    DeviceTransfer::Counts m_counts{};
};
