#pragma once

#include "layout/ScrollBarGeometry.h"
#include "model/ActionList.h"

#include <vector>

class ButtonTable;

// The drawn rows of one list (entries or the steps of an entry) and what its scroll bar
// shows. There is no list control: the rows are entries of the dialog's table whose captions
// and checked state are written from the ActionList at every paint. The scroll bar's position
// stands for the absolute index of the selected entry.
class ActionListView {
public:
    // Scroll requests as the skin scroll bar sends them.
    enum ScrollRequest : int {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
    };

    ActionListView(int firstRowId, int rows);

    // Finds the rows among the table's entries; call once the table is filled.
    void bind(const ButtonTable &table);
    // The list shown; null shows empty rows.
    void show(const ActionList *list) { m_list = list; }
    const ActionList *list() const { return m_list; }

    int firstRowId() const { return m_firstRowId; }
    int rows() const { return m_rows; }
    // The visible row an entry id stands for, or -1.
    int rowOf(int id) const;
    // Whether a row shows an entry of the list.
    bool rowHasEntry(int row) const;

    // Captions of both languages and the checked row, for the next paint.
    void paintRows(ButtonTable &table) const;
    // What the scroll bar shows: range 0 .. n + rows - 1, a page of `rows`, the position at
    // the selected entry.
    ScrollInfo scrollInfo() const;
    // Where a scroll request asks the selection to go, or -1 for a request that moves nothing.
    int scrollTarget(int request, int trackPosition) const;

private:
    int m_firstRowId;
    int m_rows;
    std::vector<int> m_indices; // table index of each row, -1 when missing
    const ActionList *m_list = nullptr;
};
