#include "keymap/ActionListView.h"

#include "layout/ButtonTable.h"

#include <algorithm>

ActionListView::ActionListView(int firstRowId, int rows)
    : m_firstRowId(firstRowId)
    , m_rows(rows)
    , m_indices(std::size_t(rows), -1)
{}

void ActionListView::bind(const ButtonTable &table)
{
    for (int r = 0; r < m_rows; ++r)
        m_indices[std::size_t(r)] = table.indexOfId(m_firstRowId + r);
}

int ActionListView::rowOf(int id) const
{
    const int row = id - m_firstRowId;
    return row >= 0 && row < m_rows ? row : -1;
}

bool ActionListView::rowHasEntry(int row) const
{
    return m_list && row >= 0 && m_list->top + row < m_list->size();
}

void ActionListView::paintRows(ButtonTable &table) const
{
    for (int r = 0; r < m_rows; ++r) {
        const int index = m_indices[std::size_t(r)];
        if (index < 0)
            continue;
        DrawnButton &row = table[std::size_t(index)];
        const std::string name = m_list ? m_list->nameAt(r) : std::string();
        if (row.caption("en-US") != name)
            row.setCaption(name, name);
        // An empty list has nothing selected, though its positions rest at row 0.
        row.checked = rowHasEntry(r) && r == m_list->selected;
    }
}

ScrollInfo ActionListView::scrollInfo() const
{
    ScrollInfo info;
    info.page = m_rows;
    info.maximum = (m_list ? m_list->size() : 0) + m_rows - 1;
    info.position = m_list && m_list->size() > 0 ? m_list->scrollPosition() : 0;
    return info;
}

int ActionListView::scrollTarget(int request, int trackPosition) const
{
    if (!m_list || m_list->size() == 0)
        return -1;
    const int position = m_list->scrollPosition();
    int target = position;
    switch (request) {
    case LineUp:
        target = position - 1;
        break;
    case LineDown:
        target = position + 1;
        break;
    case PageUp:
        target = position - m_rows;
        break;
    case PageDown:
        target = position + m_rows;
        break;
    case ThumbTrack:
    case ThumbPosition:
        target = trackPosition;
        break;
    default:
        return -1;
    }
    return std::clamp(target, 0, m_list->size() - 1);
}
