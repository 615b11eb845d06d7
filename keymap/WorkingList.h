#pragma once

#include "model/ActionList.h"

// A predefined list as the key settings dialog edits it: a working copy of the list and the
// entry being edited (the current entry), which is copied back into the list at the selected
// position before the selection moves and before the list is handed back. While a recording
// fills the current entry the list is held: nothing can make another entry current.
class WorkingList {
public:
    WorkingList() = default;
    // Takes a copy with the dialog's row count; the selected entry becomes current.
    WorkingList(const ActionList &list, int pageRows);

    const ActionList &list() const { return m_list; }
    ActionList &list() { return m_list; }
    const ActionList &current() const { return m_current; }
    ActionList &current() { return m_current; }

    int size() const { return m_list.size(); }
    // Absolute index of the selected entry, -1 in an empty list.
    int selectedIndex() const { return m_list.size() > 0 ? m_list.scrollPosition() : -1; }
    // Changes whenever another entry (or the same one afresh) becomes current, so that what was
    // shown or recorded for one entry is never taken for another.
    unsigned currentSerial() const { return m_serial; }

    // While held, every call below that would make another entry current refuses (false, or
    // nothing); the current entry itself stays editable.
    void hold(bool held) { m_held = held; }
    bool isHeld() const { return m_held; }

    // Selects the first entry equal to `action`, scrolled into view, or appends it as
    // "default"; the entry becomes current.
    bool locate(const ActionList &action);
    // Selects the entry shown in visible row `row`; false when the row shows no entry.
    bool selectRow(int row);
    // The scroll bar moved to an absolute position: the entry there is selected.
    bool scrollTo(int position);
    // New: an entry with default settings appended, selected, scrolled into view and current.
    bool addEntry(const std::string &name);
    // Remove: the selected entry goes; the one now at the selection becomes current. False
    // for an empty list.
    bool removeSelected();
    // Names the entry at an absolute index; false when there is none.
    bool rename(int index, const std::string &name);
    // Copies the current entry into the list at the selected position (nothing when empty).
    void storeCurrent();
    // Drops the current entry's edits: the selected entry as the list holds it is current.
    void reloadCurrent() { takeCurrent(); }
    // The list with the current entry stored, as OK hands it back.
    ActionList result() const;

private:
    void takeCurrent();

    ActionList m_list;
    ActionList m_current;
    unsigned m_serial = 0;
    bool m_held = false;
};
