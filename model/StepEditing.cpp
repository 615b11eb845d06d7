#include "model/StepEditing.h"

#include "model/KeyCatalogue.h"
#include "model/StepText.h"

#include <algorithm>
#include <vector>

namespace StepEditing {

namespace {

constexpr int MouseKeyLeft = 130;
constexpr int MouseKeyRight = 131;
constexpr int MouseKeyMiddle = 132;
constexpr int MouseWheelUp = 133;
constexpr int MouseWheelDown = 134;

// The mouse codes an item puts in, in order; empty for Delete and unknown items.
std::vector<int> codesOfItem(int item)
{
    switch (item) {
    case LeftPress:
    case LeftRelease:
        return {MouseKeyLeft};
    case LeftClick:
        return {MouseKeyLeft, MouseKeyLeft};
    case RightPress:
    case RightRelease:
        return {MouseKeyRight};
    case RightClick:
        return {MouseKeyRight, MouseKeyRight};
    case MiddlePress:
    case MiddleRelease:
        return {MouseKeyMiddle};
    case MiddleClick:
        return {MouseKeyMiddle, MouseKeyMiddle};
    case WheelUp:
        return {MouseWheelUp};
    case WheelDown:
        return {MouseWheelDown};
    default:
        return {};
    }
}

// After the steps shrank: the selected step stays, and the rows show as many steps as there
// are rather than the last one alone.
void keepRowsFilled(ActionList &macro)
{
    macro.clampPositions();
    const int index = macro.scrollPosition();
    macro.top = std::min(macro.top, std::max(0, macro.size() - macro.pageRows));
    macro.selected = index - macro.top;
}

void setSteps(ActionList &macro, std::vector<std::string> steps)
{
    macro.items.assign(steps.size(), ActionList(macro.pageRows));
    macro.names = std::move(steps);
    keepRowsFilled(macro);
}

void insertSteps(ActionList &macro, int index, const std::vector<std::string> &steps)
{
    macro.names.insert(macro.names.begin() + index, steps.begin(), steps.end());
    macro.items.insert(macro.items.begin() + index, steps.size(), ActionList(macro.pageRows));
}

void eraseSteps(ActionList &macro, int first, int count)
{
    macro.names.erase(macro.names.begin() + first, macro.names.begin() + first + count);
    macro.items.erase(macro.items.begin() + first, macro.items.begin() + first + count);
    macro.clampPositions();
}

bool isDelayAt(const ActionList &macro, int index)
{
    return index >= 0 && index < macro.size()
           && StepText::isDelayStep(macro.names[std::size_t(index)]);
}

bool isKeyAt(const ActionList &macro, int index)
{
    return index >= 0 && index < macro.size() && !isDelayAt(macro, index);
}

// A key's own delay is the one after it, or for the last key the one before it; a delay
// belongs to the key before it.
void deleteWithOwnDelay(ActionList &macro, int index)
{
    if (macro.autoDelay) {
        eraseSteps(macro, index, 1);
    } else if (isDelayAt(macro, index)) {
        if (isKeyAt(macro, index - 1))
            eraseSteps(macro, index - 1, 2);
        else
            eraseSteps(macro, index, 1);
    } else if (isDelayAt(macro, index + 1)) {
        eraseSteps(macro, index, 2);
    } else if (isDelayAt(macro, index - 1)) {
        eraseSteps(macro, index - 1, 2);
    } else {
        eraseSteps(macro, index, 1);
    }
}

} // namespace

int stepLimit(const ActionList &macro)
{
    return macro.autoDelay ? MaxStepsAutoDelay : MaxStepsWithDelays;
}

void cutToLimit(ActionList &macro)
{
    const int limit = stepLimit(macro);
    if (macro.size() <= limit)
        return;
    macro.names.resize(std::size_t(limit));
    macro.items.resize(std::size_t(limit));
    keepRowsFilled(macro);
}

void useAutoDelay(ActionList &macro, int delayMs)
{
    if (macro.autoDelay)
        return;
    macro.delayMs = delayMs;
    macro.autoDelay = true;
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < macro.names.size(); i += 2)
        kept.push_back(macro.names[i]);
    setSteps(macro, std::move(kept));
    cutToLimit(macro);
}

void useRecordedDelays(ActionList &macro)
{
    if (!macro.autoDelay)
        return;
    macro.autoDelay = false;
    std::vector<std::string> steps;
    const std::string delay = StepText::delayStep(macro.delayMs);
    for (std::size_t i = 0; i < macro.names.size(); ++i) {
        if (i > 0)
            steps.push_back(delay);
        steps.push_back(macro.names[i]);
    }
    setSteps(macro, std::move(steps));
    // Twice the steps may not fit: the end goes, as when recording.
    cutToLimit(macro);
}

bool applyMenuItem(const KeyCatalogue &catalogue, ActionList &macro, int row, int item)
{
    const int index = macro.top + row;
    if (row < 0 || index < 0 || index >= macro.size())
        return false;
    if (item == DeleteStep) {
        deleteWithOwnDelay(macro, index);
        return true;
    }
    const std::vector<int> codes = codesOfItem(item);
    if (codes.empty())
        return false;

    std::vector<std::string> steps;
    const std::string noDelay = StepText::delayStep(0);
    const bool beforeDelay = isDelayAt(macro, index);
    for (int code : codes) {
        const std::string name = catalogue.nameOfCode(code);
        if (macro.autoDelay) {
            steps.push_back(name);
        } else if (beforeDelay) {
            // Before a delay: the key before it gets no delay, the delay moves to the last
            // inserted step.
            steps.push_back(noDelay);
            steps.push_back(name);
        } else {
            steps.push_back(name);
            steps.push_back(noDelay);
        }
    }
    insertSteps(macro, index, steps);
    cutToLimit(macro);
    return true;
}

int delayOfText(const std::string &text)
{
    return std::clamp(StepText::leadingInteger(text), 0, MaxDelayStepMs);
}

int clampTimes(int value)
{
    return std::clamp(value, 1, 255);
}

int clampAutoDelay(int value)
{
    return std::clamp(value, 0, 60000);
}

int clampInterval(int value)
{
    return std::clamp(value, 0, 6000);
}

} // namespace StepEditing
