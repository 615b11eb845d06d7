#pragma once

#include "model/KeyAssignment.h"

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

    enum class Encoded {
        Set,     // `array` holds the key's definition
        Empty,   // nothing to set: the keyboard gets an empty key
        Invalid, // the assignment cannot be carried by one keyboard record
    };

    // The array for one assignment. Step texts become codes and delays through their step
    // values; numbers the keyboard keeps in fewer bits are clamped to their range.
    static Encoded encode(const KeyCatalogue &catalogue, const KeyAssignment &assignment,
                          std::vector<int> &array);
    // The same for an assignment held in the model's three arrays, without copying its action.
    static Encoded encode(const KeyCatalogue &catalogue, int category, int code,
                          const ActionList &action, std::vector<int> &array);

    // The assignment an array stands for. `size` is the number of valid elements; an array
    // that claims more entries than it holds reads as not set. `current` is the key's
    // present assignment, whose code is kept where the array does not set one.
    static KeyAssignment decode(const KeyCatalogue &catalogue, const int *array, int size,
                                const KeyAssignment &current);
};
