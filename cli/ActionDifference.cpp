#include "cli/ActionDifference.h"

#include "model/ActionList.h"
#include "model/KeyAssignment.h"

#include <algorithm>
#include <vector>

namespace {

using ActionDifference::Sides;

// Steps that differ are named up to this many; the count says the rest.
constexpr std::size_t NamedSteps = 3;

const char *playModeName(int mode)
{
    switch (mode) {
    case 0:
        return "times play";
    case 1:
        return "press play, release stop";
    case 2:
        return "press to play/stop";
    }
    return "unknown";
}

std::string milliseconds(int value)
{
    return std::to_string(value) + " ms";
}

void add(std::vector<std::string> &words, std::string text)
{
    words.push_back(std::move(text));
}

std::string joined(const std::vector<std::string> &words)
{
    std::string text;
    for (const std::string &word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

// A macro's delay: one fixed delay, or the recorded ones with a fixed delay left unused.
std::string macroDelay(const ActionList &action, bool modesDiffer)
{
    if (action.autoDelay)
        return "auto delay " + milliseconds(action.delayMs);
    return modesDiffer ? "recorded delays" : "unused delay " + milliseconds(action.delayMs);
}

void compareSettings(int category, const ActionList &a, const ActionList &b,
                     std::vector<std::string> &before, std::vector<std::string> &after)
{
    if (a.playMode != b.playMode) {
        add(before,
            "play mode " + std::to_string(a.playMode) + " (" + playModeName(a.playMode) + ")");
        add(after,
            "play mode " + std::to_string(b.playMode) + " (" + playModeName(b.playMode) + ")");
    }
    if (a.times != b.times) {
        add(before, "times " + std::to_string(a.times));
        add(after, "times " + std::to_string(b.times));
    }
    if (category == KeyAssignment::Macro) {
        if (a.autoDelay != b.autoDelay || a.delayMs != b.delayMs) {
            const bool modesDiffer = a.autoDelay != b.autoDelay;
            add(before, macroDelay(a, modesDiffer));
            add(after, macroDelay(b, modesDiffer));
        }
        return;
    }
    if (a.autoDelay != b.autoDelay) {
        add(before, a.autoDelay ? "auto delay" : "no auto delay");
        add(after, b.autoDelay ? "auto delay" : "no auto delay");
    }
    if (a.delayMs != b.delayMs) {
        const char *name = category == KeyAssignment::Emulation ? "interval " : "delay ";
        add(before, name + milliseconds(a.delayMs));
        add(after, name + milliseconds(b.delayMs));
    }
}

void compareSteps(const ActionList &a, const ActionList &b, std::vector<std::string> &before,
                  std::vector<std::string> &after)
{
    const std::size_t count = std::max(a.names.size(), b.names.size());
    std::size_t named = 0;
    for (std::size_t i = 0; i < count && named < NamedSteps; ++i) {
        const bool inA = i < a.names.size();
        const bool inB = i < b.names.size();
        if (inA && inB && a.names[i] == b.names[i])
            continue;
        const std::string step = "step " + std::to_string(i + 1) + ": ";
        add(before, step + (inA ? a.names[i] : "-"));
        add(after, step + (inB ? b.names[i] : "-"));
        ++named;
    }
    if (a.names.size() != b.names.size()) {
        add(before, std::to_string(a.names.size()) + " steps");
        add(after, std::to_string(b.names.size()) + " steps");
    }
}

} // namespace

namespace ActionDifference {

Sides describe(int category, const ActionList &a, const ActionList &b, bool stepsShown)
{
    std::vector<std::string> before;
    std::vector<std::string> after;
    compareSettings(category, a, b, before, after);
    if (!stepsShown && a.names != b.names)
        compareSteps(a, b, before, after);
    if (before.empty())
        return {};
    return {"[" + joined(before) + "]", "[" + joined(after) + "]"};
}

} // namespace ActionDifference
