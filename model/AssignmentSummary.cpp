#include "model/AssignmentSummary.h"

#include "model/AppState.h"
#include "model/StepText.h"

#include <string_view>

namespace {

constexpr std::size_t MacroSummaryLimit = 120;
constexpr const char *MacroCut = " ... ...";
constexpr const char *BarSeparator = " | ";

std::string joined(const std::vector<std::string> &names, const char *separator)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += separator;
        text += names[i];
    }
    return text;
}

// Characters, not bytes: step texts from profile files may hold any UTF-8.
std::size_t characterCount(const std::string &text)
{
    std::size_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

std::string shortStep(const std::string &step)
{
    std::string_view view(step);
    if (StepText::isDelayStep(step)) // "<N ms>" -> "N"
        return std::string(view.substr(1, view.size() - 1 - std::string_view(" ms>").size()));
    for (std::string_view suffix :
         {std::string_view(StepText::DownSuffix), std::string_view(StepText::UpSuffix)}) {
        if (view.size() >= suffix.size() && view.substr(view.size() - suffix.size()) == suffix)
            return std::string(view.substr(0, view.size() - suffix.size()));
    }
    return step;
}

std::string macroSummary(const std::vector<std::string> &steps)
{
    std::string text;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (characterCount(text) > MacroSummaryLimit) {
            text += MacroCut;
            break;
        }
        if (i > 0)
            text += ',';
        text += shortStep(steps[i]);
    }
    return text;
}

} // namespace

std::string assignmentSummary(const AppState &state, int key, int layer)
{
    if (key < 1 || key > AppState::KeyCount || layer < 0 || layer > 1)
        return {};
    const std::size_t i = std::size_t(AppState::index(key, layer));
    switch (state.category[i]) {
    case 1:
    case 5:
    case 6:
    case 7:
    case 8:
        return state.catalogue.nameOfCode(state.code[i]);
    case 2:
    case 3:
    case 4:
        return actionSummary(state.category[i], state.action[i]);
    default:
        return {};
    }
}

std::string actionSummary(int category, const ActionList &action)
{
    switch (category) {
    case 2:
    case 4:
        return joined(action.names, BarSeparator);
    case 3:
        return macroSummary(action.names);
    default:
        return {};
    }
}
