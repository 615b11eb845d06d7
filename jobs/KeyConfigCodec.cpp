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

int sixteenBits(int value)
{
    return std::clamp(value, 0, 0xFFFF);
}

// Steps as the keyboard gets them, with what changed on the way noted in `check`.
class StepEncoder {
public:
    StepEncoder(const KeyCatalogue &catalogue, KeyConfigCodec::Check *check)
        : m_catalogue(catalogue)
        , m_check(check)
    {}

    // A step where a key belongs; false when it is a delay, which the keyboard would take for
    // the key code of its number.
    bool key(const std::string &step, int index, int &code)
    {
        const int value = StepText::stepValue(m_catalogue, step);
        code = value >= 0 && value <= 255 ? value : 0;
        if (readsAsDelay(step))
            return misread(index, step, true, code);
        if (value == 0 && !namesKey(step))
            adjust("step " + std::to_string(index + 1), step, "0 (no key)");
        return true;
    }

    // A step where a delay belongs; false when it names a key, whose code the keyboard would
    // take for milliseconds.
    bool delay(const std::string &step, int index, int &ms)
    {
        const int value = StepText::stepValue(m_catalogue, step);
        ms = sixteenBits(value);
        const std::string field = "step " + std::to_string(index + 1);
        if (!readsAsDelay(step)) {
            if (namesKey(step))
                return misread(index, step, false, ms);
            adjust(field, step, "0 ms (no delay)");
        } else if (ms != value) {
            adjust(field, step, StepText::delayStep(ms));
        }
        return true;
    }

    void adjust(std::string field, std::string from, std::string to)
    {
        if (m_check)
            m_check->adjustments.push_back({std::move(field), std::move(from), std::move(to)});
    }

    // A number kept in fewer bits or a narrower range than the assignment states.
    int fitted(const char *field, int value, int low, int high)
    {
        const int kept = std::clamp(value, low, high);
        if (kept != value)
            adjust(field, std::to_string(value), std::to_string(kept));
        return kept;
    }

    // More steps than the editor records: sent all the same, but said.
    void beyondLimit(const char *what, int count, int limit)
    {
        if (count > limit)
            adjust(what, std::to_string(count), "");
    }

private:
    // As the step value reads it: any text with "ms>" is a delay.
    static bool readsAsDelay(const std::string &step)
    {
        return step.find("ms>") != std::string::npos;
    }

    bool namesKey(const std::string &step) const
    {
        if (m_catalogue.keyOfName(step) >= 0)
            return true;
        for (const std::string suffix : {StepText::DownSuffix, StepText::UpSuffix}) {
            if (step.size() > suffix.size() && step.ends_with(suffix)
                && m_catalogue.keyOfName(step.substr(0, step.size() - suffix.size())) >= 0)
                return true;
        }
        return false;
    }

    bool misread(int index, const std::string &step, bool delayAsKey, int readAs)
    {
        if (m_check) {
            m_check->step = index + 1;
            m_check->stepText = step;
            m_check->delayAsKey = delayAsKey;
            m_check->readAs = readAs;
            m_check->readAsName = delayAsKey ? m_catalogue.nameOfCode(readAs) : std::string();
        }
        return false;
    }

    const KeyCatalogue &m_catalogue;
    KeyConfigCodec::Check *m_check;
};

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
                                               std::vector<int> &array, Check *check)
{
    return encode(catalogue, assignment.category, assignment.code, assignment.action, array, check);
}

KeyConfigCodec::Encoded KeyConfigCodec::encode(const KeyCatalogue &catalogue, int category,
                                               int code, const ActionList &action,
                                               std::vector<int> &array, Check *check)
{
    array.clear();
    if (category <= KeyAssignment::NotSet)
        return Encoded::Empty;

    StepEncoder steps(catalogue, check);
    const int n = action.size();
    const auto addKeys = [&](int first) {
        for (int i = first; i < n; ++i) {
            int value = 0;
            if (!steps.key(action.names[std::size_t(i)], i, value)) {
                array.clear();
                return false;
            }
            array.push_back(value);
        }
        return true;
    };
    switch (category) {
    case KeyAssignment::Combo:
        if (n == 0)
            return Encoded::Empty;
        if (n > MaxNormalCodes)
            return Encoded::Invalid;
        steps.beyondLimit("keys", n, MaxComboKeys);
        array = {NormalKind, n};
        return addKeys(0) ? Encoded::Set : Encoded::Misread;

    case KeyAssignment::Emulation:
        // Without keys it is still a continuous record, [1, delay, 0], which the keyboard gets
        // as its bare header.
        if (n > MaxContinuousCodes)
            return Encoded::Invalid;
        steps.beyondLimit("keys", n, MaxEmulationKeys);
        array = {ContinuousKind, steps.fitted("Delay", action.delayMs, 0, 0xFFFF), n};
        return addKeys(0) ? Encoded::Set : Encoded::Misread;

    case KeyAssignment::Macro: {
        if (n == 0)
            return Encoded::Empty;
        // Recorded delays alternate with the key steps: key, delay, key, delay, ...
        const bool autoDelay = action.autoDelay;
        const int entries = autoDelay ? n : (n + 1) / 2;
        const long long bytes = autoDelay ? entries : 4LL * entries;
        if (bytes > MaxMacroBytes)
            return Encoded::Invalid;
        steps.beyondLimit("steps", n, autoDelay ? MaxAutoDelayMacroSteps : MaxRecordedMacroSteps);
        const int playMode = action.playMode >= 0 && action.playMode <= 2 ? action.playMode : 0;
        if (playMode != action.playMode)
            steps.adjust("PlayMode", std::to_string(action.playMode), "0");
        const int cycles = playMode == 0 ? steps.fitted("Cycles", action.times, 1, 255) : 0;
        array = {MacroKind,
                 playMode,
                 cycles,
                 autoDelay ? 0 : 1,
                 autoDelay ? steps.fitted("Delay", action.delayMs, 0, 0xFFFF) : 0,
                 entries};
        if (autoDelay)
            return addKeys(0) ? Encoded::Set : Encoded::Misread;
        for (int i = 0; i < n; i += 2) {
            int key = 0;
            // The last key of an odd count has no delay of its own.
            int delay = 0;
            if (!steps.key(action.names[std::size_t(i)], i, key)
                || (i + 1 < n && !steps.delay(action.names[std::size_t(i + 1)], i + 1, delay))) {
                array.clear();
                return Encoded::Misread;
            }
            array.push_back(key);
            array.push_back(delay);
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
