#pragma once

#include <quillodev/MessageTarget.h>

class AppState;

// Outcome of one transfer. For a refused write, `key` and `layer` name the first assignment
// that the keyboard cannot hold.
struct TransferResult {
    enum class Status {
        Ok,
        DeviceFailed,      // an exchange with the keyboard failed; the model is unchanged
        AssignmentRefused, // nothing was sent
    };

    Status status = Status::Ok;
    int key = 0;
    int layer = 0;

    bool ok() const { return status == Status::Ok; }
    explicit operator bool() const { return ok(); }
};

// The five exchanges of the configuration with the keyboard, run by the progress dialog's
// worker (and by the command-line companion). Each uses the facade held by `state` and
// returns the real outcome; a failed read leaves the model as it was. The key transfers post
// DeviceMessageProgress per key to `progress`; the light and counter transfers post nothing,
// their single progress step is the caller's.
class DeviceTransfer {
public:
    static TransferResult writeKeyAssignments(AppState &state, WindowHandle progress);
    static TransferResult readKeyAssignments(AppState &state, WindowHandle progress);
    static TransferResult writeLights(AppState &state, WindowHandle progress);
    static TransferResult readLights(AppState &state, WindowHandle progress);
    static TransferResult readPressCounters(AppState &state, WindowHandle progress);
};
