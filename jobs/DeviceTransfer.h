#pragma once

#include "model/KeyAssignment.h"
#include "model/LightArea.h"
#include "model/LightSettings.h"

#include <quillodev/KeyCounts.h>
#include <quillodev/MessageTarget.h>

#include <array>
#include <string>
#include <vector>

class CNuboHWI;
class KeyCatalogue;
struct Configuration;
struct PressCounters;

// Outcome of one transfer. For a refused write, `key` and `layer` name the first assignment
// that the keyboard cannot hold, or that it would play otherwise than it says.
struct TransferResult {
    enum class Status {
        Ok,
        DeviceFailed,      // an exchange with the keyboard failed; the model is unchanged
        AssignmentRefused, // nothing was sent
        PartlyWritten,     // the key write failed after some keys had reached the keyboard
    };

    Status status = Status::Ok;
    int key = 0;
    int layer = 0;
    // A refusal for a step the keyboard would take as something else: the step (from 1), its
    // text, whether it is a delay where a key belongs (else a key where a delay belongs) and
    // what it would become, a key code (with its name) or milliseconds. Step 0: the assignment
    // is too large.
    int step = 0;
    std::string stepText = {};
    bool delayAsKey = false;
    int readAs = 0;
    std::string readAsName = {};

    bool ok() const { return status == Status::Ok; }
    explicit operator bool() const { return ok(); }
};

// The five exchanges of the configuration with the keyboard, run by the progress dialog's
// worker (and by the command-line companion). Each talks through `device` and returns the real
// outcome; a failed read leaves the model as it was. The key transfers post
// DeviceMessageProgress per key to `progress`; the light and counter transfers post nothing,
// their single progress step is the caller's.
//
// Each is also offered in halves, so that a worker can talk to the keyboard while the model
// is read before and written after on the thread that owns it: the device half works on
// copies (Encoded*, Read*), the model half takes them over.
class DeviceTransfer {
public:
    static TransferResult writeKeyAssignments(CNuboHWI &device, const KeyCatalogue &catalogue,
                                              const Configuration &configuration,
                                              WindowHandle progress);
    static TransferResult readKeyAssignments(CNuboHWI &device, const KeyCatalogue &catalogue,
                                             Configuration &configuration, WindowHandle progress);
    static TransferResult writeLights(CNuboHWI &device, const LightSettings &lights,
                                      WindowHandle progress);
    static TransferResult readLights(CNuboHWI &device, LightSettings &lights,
                                     WindowHandle progress);
    static TransferResult readPressCounters(CNuboHWI &device, PressCounters &counters,
                                            WindowHandle progress);

    static constexpr int SlotCount = quillodev::SlotCount;

    // Every assignment as the keyboard takes it; refused when one does not fit a record.
    struct EncodedKeys {
        std::vector<std::vector<int>> arrays; // by slot
        std::vector<bool> toSet;              // false: the key is sent empty
    };
    static TransferResult encodeKeyAssignments(const KeyCatalogue &catalogue,
                                               const Configuration &configuration,
                                               EncodedKeys &encoded);
    // The same for one slot of `encoded`, which must already hold every slot; for taking the
    // encoding in slices.
    static TransferResult encodeSlot(const KeyCatalogue &catalogue,
                                     const Configuration &configuration, int slot,
                                     EncodedKeys &encoded);
    static TransferResult sendKeyAssignments(CNuboHWI &device, const EncodedKeys &encoded,
                                             WindowHandle progress);

    // The keys read, decoded against the codes the model held (`codes`, the configuration's),
    // which stay where the keyboard's record sets none.
    using ReadKeys = std::vector<KeyAssignment>; // by slot
    static TransferResult
    fetchKeyAssignments(CNuboHWI &device, const KeyCatalogue &catalogue,
                        const std::array<int, quillodev::EntryArraySize> &codes, ReadKeys &read,
                        WindowHandle progress);
    static void applyKeyAssignments(Configuration &configuration, ReadKeys &&read);

    static TransferResult sendLights(CNuboHWI &device, const LightArea::Values &values);
    static TransferResult fetchLights(CNuboHWI &device, LightArea::Values &values);

    using Counts = std::array<int, quillodev::KeyCount>; // key 1 first
    static TransferResult fetchPressCounters(CNuboHWI &device, Counts &counts);
    static void applyPressCounters(PressCounters &counters, const Counts &counts);
};
