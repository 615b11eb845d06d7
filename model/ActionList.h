#pragma once

#include "model/SharedVector.h"

#include <string>

// One record type for a predefined list, one entry of such a list and the action of one key.
// `names` hold UTF-8 texts: entry names, or the display texts of an action's steps.
struct ActionList {
    int pageRows = 9; // rows visible in the list that shows it
    int top = 0;      // first visible row
    int selected = 0; // selected row, counted from top
    // Copies share these until one of them is changed: copying a list is cheap.
    SharedVector<std::string> names;
    SharedVector<ActionList> items; // one per name
    int times = 1;
    bool autoDelay = false;
    int delayMs = 30;
    int playMode = 0; // 0..2

    ActionList() = default;
    explicit ActionList(int rows)
        : pageRows(rows)
    {}

    int size() const { return int(names.size()); }

    // Empties names and items and restores the defaults; pageRows stays.
    void clear();

    std::string nameAt(int row) const;
    ActionList entryAt(int row) const;
    void setAt(int row, const std::string &text);
    void insertAt(int row, const std::string &text);
    void removeAt(int row);
    void append(const std::string &text);
    void locate(const ActionList &entry);
    // Brings positions from outside (a profile file) back within the list: at least one visible
    // row, top and selected addressing an entry.
    void clampPositions();

    // A scroll bar beside the list stands for the absolute index of the selected entry; its
    // range is 0 .. scrollRange(). Moving it selects that entry, scrolling only when needed.
    int scrollPosition() const { return top + selected; }
    int scrollRange() const { return size() + pageRows - 1; }
    void scrollTo(int position);

    // Same names in the same order and the same times, autoDelay, delayMs and playMode.
    bool sameAction(const ActionList &other) const;

private:
    // top and selected addressing an entry, or both 0 when there is none.
    void keepPositionsInRange();
};
