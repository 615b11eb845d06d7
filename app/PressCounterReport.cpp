#include "app/PressCounterReport.h"

#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyboardModel.h"

namespace {

const char *safe(const char *text)
{
    return text ? text : "";
}

} // namespace

std::string PressCounterReport::keyText(int key)
{
    if (key < 1 || key > AppState::KeyCount)
        return "     ";
    return std::string(MainWindowTable::keyCaption(key)) + " ";
}

// The version the report names is the program's own, so that the window, --version and the
// package agree.
std::string PressCounterReport::head(const AppState &state)
{
    const std::string model = KeyboardModel::name(state.deviceType);
    const std::string highest = keyText(state.pressCounters.highestKey);
    const std::string lowest = keyText(state.pressCounters.lowestKey);
    if (state.language == "zh-CN")
        return model + " 编程软件 [版本 " QUILLO_VERSION "]\r\n\r\n高频键：" + highest + " 低频键："
               + lowest + "\r\n敲击次数：";
    if (state.language == "en-US")
        return model + " Programming Software [Ver " QUILLO_VERSION "]\r\n\r\nHighest: " + highest
               + " Lowest: " + lowest + "\r\n\r\nCounter: ";
    return {};
}

std::string PressCounterReport::keyPart(const AppState &state, int key)
{
    if (key < 1 || key > AppState::KeyCount)
        return {};
    std::string part;
    const int count = state.pressCounters.counts[std::size_t(key)];
    if (count >= 0)
        part = std::to_string(count);

    const bool chinese = state.language == "zh-CN";
    if (!chinese && state.language != "en-US")
        return part;
    std::string layers[2];
    for (int layer = 0; layer < 2; ++layer) {
        const int category = state.category[std::size_t(AppState::index(key, layer))];
        layers[layer] = std::string(safe(KeyCatalogue::categoryName(category, chinese))) + " "
                        + assignmentSummary(state, key, layer);
    }
    if (chinese)
        part += "\r\n\r\n顶层键：" + layers[0] + "\r\n\r\nFN组合键：" + layers[1] + "\r\n";
    else
        part += "\r\n\r\nTop layer Key: " + layers[0] + "\r\n\r\nFn layer Key: " + layers[1]
                + "\r\n";
    return part;
}

std::string PressCounterReport::text(const AppState &state, int hoveredKey)
{
    return head(state) + keyPart(state, hoveredKey);
}
