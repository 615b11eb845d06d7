#pragma once

#include "model/KeyAssignment.h"

#include <string>
#include <vector>

class KeyCatalogue;

// Converts between a key's assignment in the model and the KeyConfigArray the device
// library takes: [0, n, codes...] normal, [1, interval, n, codes...] continuous and
// [2, play mode, cycles, hasDelays, interval, n, entries...] macro.
class KeyConfigCodec {
public:
    // Room the program gives the library for reading one key.
    static constexpr int Capacity = 65536;
    // What one keyboard record can hold.
    static constexpr int MaxNormalCodes = 58;
    static constexpr int MaxContinuousCodes = 56;
    static constexpr int MaxMacroBytes = 65535;

    // What the editor records at most; the records take more.
    static constexpr int MaxComboKeys = 6;
    static constexpr int MaxEmulationKeys = 6;
    static constexpr int MaxRecordedMacroSteps = 799;
    static constexpr int MaxAutoDelayMacroSteps = 1600;

    enum class Encoded {
        Set,     // `array` holds the key's definition
        Empty,   // nothing to set: the keyboard gets an empty key
        Invalid, // the assignment cannot be carried by one keyboard record
        Misread, // a step would reach the keyboard as something else: see Check
    };

    // A value that reaches the keyboard other than the assignment states it: "Cycles" 300
    // sent as 255, "step 3" "Foo" (no key) sent as 0; or a limit passed with `to` empty.
    struct Adjustment {
        std::string field;
        std::string from;
        std::string to;
    };
    // What encoding noticed.
    struct Check {
        std::vector<Adjustment> adjustments;
        // For Misread: the step (from 1), its text, whether it is a delay where a key belongs
        // (else a key where a delay belongs) and what the keyboard would take it for: the
        // key code with its name, or the delay in ms.
        int step = 0;
        std::string stepText;
        bool delayAsKey = false;
        int readAs = 0;
        std::string readAsName;
    };

    // The array for one assignment. Step texts become codes and delays through their step
    // values; numbers the keyboard keeps in fewer bits are clamped to their range. `check`
    // (if given) hears of every value changed on the way.
    static Encoded encode(const KeyCatalogue &catalogue, const KeyAssignment &assignment,
                          std::vector<int> &array, Check *check = nullptr);
    // The same for an assignment held in the model's three arrays, without copying its action.
    static Encoded encode(const KeyCatalogue &catalogue, int category, int code,
                          const ActionList &action, std::vector<int> &array,
                          Check *check = nullptr);

    // The assignment an array stands for. `size` is the number of valid elements; an array
    // that claims more entries than it holds reads as not set. `current` is the key's
    // present assignment, whose code is kept where the array does not set one.
    static KeyAssignment decode(const KeyCatalogue &catalogue, const int *array, int size,
                                const KeyAssignment &current);
};
