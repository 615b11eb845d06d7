#include "model/ActionList.h"

#include <algorithm>

void ActionList::clear()
{
    names.clear();
    items.clear();
    top = 0;
    selected = 0;
    times = 1;
    autoDelay = false;
    delayMs = 30;
    playMode = 0;
}

std::string ActionList::nameAt(int row) const
{
    const int i = top + row;
    return i >= 0 && i < size() ? names[std::size_t(i)] : std::string();
}

ActionList ActionList::entryAt(int row) const
{
    const int i = top + row;
    if (i >= 0 && i < size())
        return items[std::size_t(i)];
    return ActionList(pageRows);
}

void ActionList::setAt(int row, const std::string &text)
{
    const int i = top + row;
    if (i >= 0 && i < size())
        names.set(std::size_t(i), text);
    else
        append(text);
}

void ActionList::insertAt(int row, const std::string &text)
{
    const int i = top + row;
    if (i >= 0 && i < size()) {
        names.insert(names.begin() + i, text);
        items.insert(items.begin() + i, ActionList(pageRows));
    } else {
        append(text);
    }
}

void ActionList::append(const std::string &text)
{
    names.push_back(text);
    items.emplace_back(pageRows);
    // Select the new entry and scroll just enough to show it.
    const int rows = std::max(pageRows, 1);
    const int m = size() - top;
    if (m <= rows) {
        selected = m - 1;
    } else {
        top += m - rows;
        selected = rows - 1;
    }
}

void ActionList::removeAt(int row)
{
    if (names.empty())
        return;
    const int i = std::clamp(top + row, 0, size() - 1);
    names.erase(names.begin() + i);
    items.erase(items.begin() + i);
    keepPositionsInRange();
}

void ActionList::clampPositions()
{
    pageRows = std::max(pageRows, 1);
    keepPositionsInRange();
}

void ActionList::keepPositionsInRange()
{
    if (names.empty()) {
        top = 0;
        selected = 0;
        return;
    }
    top = std::clamp(top, 0, size() - 1);
    selected = std::clamp(selected, 0, size() - top - 1);
}

bool ActionList::sameAction(const ActionList &other) const
{
    return names == other.names && times == other.times && autoDelay == other.autoDelay
           && delayMs == other.delayMs && playMode == other.playMode;
}

void ActionList::locate(const ActionList &entry)
{
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const ActionList &item) { return item.sameAction(entry); });
    if (found == items.end()) {
        append("default");
        items.set(items.size() - 1, entry);
        return;
    }
    const int k = int(found - items.begin());
    if (k < top || k >= top + pageRows) {
        top = k;
        selected = 0;
    } else {
        selected = k - top;
    }
}

void ActionList::scrollTo(int position)
{
    if (names.empty()) {
        top = 0;
        selected = 0;
        return;
    }
    const int a = std::clamp(position, 0, size() - 1);
    if (a >= top && a < top + pageRows) {
        selected = a - top;
    } else {
        top = a;
        selected = 0;
    }
}
