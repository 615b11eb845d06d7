#pragma once

#include "layout/DrawnButton.h"

#include <QRect>
#include <Qt>

#include <map>
#include <vector>

class QKeyEvent;
class QPainter;
class QWidget;
class SkinnedDialog;

// Keyboard focus over a skinned dialog's drawn entries. Tab and Shift+Tab go through the
// entries of the page shown and the dialog's child fields in reading order; the entries of a
// group (the keys of a keyboard drawing, the rows of a list) are one stop between which the
// arrow keys move, and Tab comes back to the member last focused. Space and Enter press the
// entry with the mark as a click would. The mark is drawn on the face only once a key has
// moved it; a click hides it again.
class FrameFocus {
public:
    explicit FrameFocus(SkinnedDialog &dialog);

    // The entry the mark stands on while the face has the keyboard focus, else -1.
    int focusedEntry() const;
    // The entry last focused, whether or not the face has the focus now.
    int entry() const { return m_entry; }
    bool isMarkShown() const;

    // Whether an entry is a focus stop now: a control, shown, acting.
    bool isStop(int index) const;

    // Tab (forward) or Shift+Tab; false when there is nowhere to go.
    bool tab(bool forward);
    // Arrows, Home, End, Space and Enter while the face itself has the focus; true when used.
    bool key(QKeyEvent *event);
    // Puts the mark on an entry (assistive technology asked for it, or a key moved it).
    void focusEntry(int index, bool showMark = true);
    // A press of the mouse on entry `index` (or -1): the mark hides, the entry is remembered.
    void pointerPressed(int index);
    // The face gained or lost the focus.
    void focusChanged();

    // The entry the arrow key moves to within its group, by position; -1 for none.
    int neighbourInGroup(int index, Qt::Key key) const;
    // Members of a group that are stops, in reading order.
    std::vector<int> groupStops(int group) const;

    // Draws the mark on the face at base size, if it is shown.
    void paint(QPainter &painter) const;

private:
    struct Stop {
        int entry = -1; // an entry, or the first member of a group
        int group = 0;
        QWidget *widget = nullptr;
        ButtonRect rect; // client pixels
        bool probe = false;
    };
    std::vector<Stop> orderedStops(bool withProbe) const;
    int entryOfGroup(int group) const;
    bool moveTo(const Stop &stop, bool forward);
    void repaintMark(int index) const;

    SkinnedDialog &m_dialog;
    int m_entry = -1;
    bool m_markWanted = false; // a key moved the focus since the last click
    std::map<int, int> m_lastInGroup;
};
