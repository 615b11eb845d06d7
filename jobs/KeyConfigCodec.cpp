#include "jobs/KeyConfigCodec.h"

#include "model/KeyCatalogue.h"
#include "model/StepText.h"

#include <algorithm>

namespace {

constexpr int NormalKind = 0;
constexpr int ContinuousKind = 1;
constexpr int MacroKind = 2;
constexpr int MouseKeyLeft = 130;
constexpr int LeftDoubleClick = 199;

int deviceCode(const KeyCatalogue &catalogue, const std::string &step)
{
    const int value = StepText::stepValue(catalogue, step);
    return value >= 0 && value <= 255 ? value : 0;
}

int sixteenBits(int value)
{
    return std::clamp(value, 0, 0xFFFF);
}

KeyAssignment::Category categoryOfReadCode(int code)
{
    if (code == 157 || code == 158 || code == 173)
        return KeyAssignment::Mouse;
    if (code >= 108 && code <= 125)
        return KeyAssignment::Multimedia;
    if (code >= 126 && code <= 134)
        return KeyAssignment::Mouse;
    if (code >= 135 && code <= 198)
        return KeyAssignment::Function;
    if (code >= 75 && code <= 77)
        return KeyAssignment::Power;
    return KeyAssignment::Single;
}

// A fresh action as the editor would start it, filled with the names of `codes`.
ActionList actionOfCodes(const KeyCatalogue &catalogue, int pageRows, const int *codes, int n)
{
    ActionList action(pageRows);
    for (int i = 0; i < n; ++i)
        action.setAt(20000, catalogue.nameOfCode(codes[i]));
    return action;
}

} // namespace

KeyConfigCodec::Encoded KeyConfigCodec::encode(const KeyCatalogue &catalogue,
                                               const KeyAssignment &assignment,
                                               std::vector<int> &array)
{
    return encode(catalogue, assignment.category, assignment.code, assignment.action, array);
}

KeyConfigCodec::Encoded KeyConfigCodec::encode(const KeyCatalogue &catalogue, int category,
                                               int code, const ActionList &action,
                                               std::vector<int> &array)
{
    array.clear();
    if (category <= KeyAssignment::NotSet)
        return Encoded::Empty;

    const int n = action.size();
    switch (category) {
    case KeyAssignment::Combo:
        if (n == 0)
            return Encoded::Empty;
        if (n > MaxNormalCodes)
            return Encoded::Invalid;
        array = {NormalKind, n};
        for (const std::string &step : action.names)
            array.push_back(deviceCode(catalogue, step));
        return Encoded::Set;

    case KeyAssignment::Emulation:
        // Without keys it is still a continuous record, [1, delay, 0], which the keyboard gets
        // as its bare header.
        if (n > MaxContinuousCodes)
            return Encoded::Invalid;
        array = {ContinuousKind, sixteenBits(action.delayMs), n};
        for (const std::string &step : action.names)
            array.push_back(deviceCode(catalogue, step));
        return Encoded::Set;

    case KeyAssignment::Macro: {
        if (n == 0)
            return Encoded::Empty;
        // Recorded delays alternate with the key steps: key, delay, key, delay, ...
        const bool autoDelay = action.autoDelay;
        const int entries = autoDelay ? n : (n + 1) / 2;
        const long long bytes = autoDelay ? entries : 4LL * entries;
        if (bytes > MaxMacroBytes)
            return Encoded::Invalid;
        const int playMode = action.playMode >= 0 && action.playMode <= 2 ? action.playMode : 0;
        const int cycles = playMode == 0 ? std::clamp(action.times, 1, 255) : 0;
        array = {MacroKind,
                 playMode,
                 cycles,
                 autoDelay ? 0 : 1,
                 autoDelay ? sixteenBits(action.delayMs) : 0,
                 entries};
        if (autoDelay) {
            for (const std::string &step : action.names)
                array.push_back(deviceCode(catalogue, step));
            return Encoded::Set;
        }
        for (int i = 0; i < n; i += 2) {
            array.push_back(deviceCode(catalogue, action.names[std::size_t(i)]));
            // The last key of an odd count has no delay of its own.
            const int delay
                = i + 1 < n ? StepText::stepValue(catalogue, action.names[std::size_t(i + 1)]) : 0;
            array.push_back(sixteenBits(delay));
        }
        return Encoded::Set;
    }

    default:
        // Every other category carries one code.
        if (code < 0 || code > 255)
            return Encoded::Invalid;
        if (code == LeftDoubleClick)
            array = {NormalKind, 2, MouseKeyLeft, MouseKeyLeft};
        else
            array = {NormalKind, 1, code};
        return Encoded::Set;
    }
}

KeyAssignment KeyConfigCodec::decode(const KeyCatalogue &catalogue, const int *a, int size,
                                     const KeyAssignment &current)
{
    KeyAssignment result = current;
    result.category = KeyAssignment::NotSet;
    if (!a || size < 2)
        return result;

    switch (a[0]) {
    case NormalKind: {
        const int n = a[1];
        if (n <= 0 || n > size - 2)
            return result;
        if (n == 1) {
            result.code = a[2];
            result.category = categoryOfReadCode(a[2]);
        } else if (n == 2 && a[2] == MouseKeyLeft && a[3] == MouseKeyLeft) {
            result.code = LeftDoubleClick;
            result.category = KeyAssignment::Mouse;
        } else {
            result.category = KeyAssignment::Combo;
            result.action = actionOfCodes(catalogue, 6, a + 2, n);
        }
        return result;
    }

    case ContinuousKind: {
        if (size < 3)
            return result;
        const int n = a[2];
        if (n <= 0 || n > size - 3)
            return result;
        result.category = KeyAssignment::Emulation;
        result.action = actionOfCodes(catalogue, 9, a + 3, n);
        result.action.delayMs = a[1];
        return result;
    }

    case MacroKind: {
        if (size < 6)
            return result;
        const int n = a[5];
        const bool hasDelays = a[3] != 0;
        // With delays the last entry's delay is never read back.
        if (n <= 0 || (hasDelays ? 2LL * n - 1 : n) > size - 6 || a[1] < 0 || a[1] > 2)
            return result;
        result.category = KeyAssignment::Macro;
        ActionList action(9);
        // Only times-play uses the count; the keyboard keeps 0 for the other modes, which
        // the editor would not accept.
        action.times = std::clamp(a[2], 1, 255);
        action.playMode = a[1];
        action.autoDelay = !hasDelays;
        action.delayMs = a[4];
        if (!hasDelays) {
            for (int i = 0; i < n; ++i)
                action.setAt(20000, catalogue.nameOfCode(a[6 + i]));
        } else {
            for (int i = 0; i < n; ++i) {
                if (i > 0)
                    action.setAt(20000, StepText::delayStep(a[5 + 2 * i]));
                action.setAt(20000, catalogue.nameOfCode(a[6 + 2 * i]));
            }
        }
        result.action = std::move(action);
        return result;
    }

    default:
        return result;
    }
}
