#include "cli/TextReport.h"

#include "cli/CliKeyNames.h"
#include "cli/TerminalText.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"

namespace TextReport {

std::string show(const AppState &state)
{
    std::string text;
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const int category = state.category[std::size_t(AppState::index(key, layer))];
            text += std::to_string(key) + '\t' + std::to_string(layer) + '\t'
                    + KeyCatalogue::categoryName(category, false) + '\t'
                    + TerminalText::escaped(assignmentSummary(state, key, layer)) + '\t'
                    + CliKeyNames::keyName(state.catalogue, key) + '\n';
        }
    }
    return text;
}

std::string counters(const AppState &state)
{
    const PressCounters &counters = state.pressCounters;
    const auto caption = [](int key) {
        return key >= 1 && key <= AppState::KeyCount ? MainWindowTable::keyCaption(key) : "-";
    };
    std::string text = std::string("highest\t") + caption(counters.highestKey) + "\nlowest\t"
                       + caption(counters.lowestKey) + '\n';
    for (int key = 1; key <= AppState::KeyCount; ++key)
        text += std::to_string(key) + '\t' + std::to_string(counters.counts[std::size_t(key)])
                + '\t' + CliKeyNames::keyName(state.catalogue, key) + '\n';
    return text;
}

} // namespace TextReport
