#include "keymap/WorkingList.h"

WorkingList::WorkingList(const ActionList &list, int pageRows)
    : m_list(list)
{
    m_list.pageRows = pageRows;
    m_list.clampPositions();
    takeCurrent();
}

bool WorkingList::locate(const ActionList &action)
{
    if (m_held)
        return false;
    storeCurrent();
    m_list.locate(action);
    takeCurrent();
    return true;
}

bool WorkingList::selectRow(int row)
{
    const int index = m_list.top + row;
    if (m_held || row < 0 || row >= m_list.pageRows || index >= m_list.size())
        return false;
    storeCurrent();
    m_list.selected = row;
    takeCurrent();
    return true;
}

bool WorkingList::scrollTo(int position)
{
    if (m_held)
        return false;
    storeCurrent();
    m_list.scrollTo(position);
    takeCurrent();
    return true;
}

bool WorkingList::addEntry(const std::string &name)
{
    if (m_held)
        return false;
    storeCurrent();
    m_list.append(name);
    takeCurrent();
    return true;
}

bool WorkingList::removeSelected()
{
    if (m_held || m_list.size() == 0)
        return false;
    m_list.removeAt(m_list.selected);
    takeCurrent();
    return true;
}

bool WorkingList::rename(int index, const std::string &name)
{
    if (index < 0 || index >= m_list.size())
        return false;
    m_list.names.set(std::size_t(index), name);
    return true;
}

void WorkingList::storeCurrent()
{
    const int index = selectedIndex();
    if (index >= 0)
        m_list.items.set(std::size_t(index), m_current);
}

ActionList WorkingList::result() const
{
    WorkingList copy = *this;
    copy.storeCurrent();
    return copy.m_list;
}

void WorkingList::takeCurrent()
{
    m_current = m_list.entryAt(m_list.selected);
    // Steps are shown in as many rows as the entries are; keep the entry's window within them.
    m_current.pageRows = m_list.pageRows;
    m_current.clampPositions();
    ++m_serial;
}
