#pragma once

#include "skin/FrameTree.h"

#include <QAccessible>
#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class QAccessibleInterface;
class QWidget;
class SkinnedDialog;

// What assistive technology sees of a skinned dialog. The frame's children are, in reading
// order, the drawn entries of the page shown (controls and the labels that are not the text of
// a control), groups of entries (a keyboard drawing, a list, the page tabs) holding their
// members, and the dialog's child widgets. Everything is read from the table and the dialog's
// hooks when asked, so the tree follows page switches, language switches and scrolling as they
// happen; scheduleCheck() announces what changed once control returns to the event loop.
class FrameAccessibility {
public:
    using Node = FrameTree::Node;

    explicit FrameAccessibility(SkinnedDialog &dialog);
    ~FrameAccessibility();
    FrameAccessibility(const FrameAccessibility &) = delete;
    FrameAccessibility &operator=(const FrameAccessibility &) = delete;

    std::vector<Node> children() const;
    // Members of a group that are in the tree, in reading order.
    std::vector<int> members(int group) const;
    bool inTree(int entry) const;
    // The group that holds an entry of the tree, or 0.
    int groupOf(int entry) const;

    QAccessibleInterface *frameInterface() const;
    QAccessibleInterface *entryInterface(int entry);
    QAccessibleInterface *groupInterface(int group);
    QAccessibleInterface *interfaceOf(const Node &node);

    QAccessible::Role role(int entry) const;
    QString name(int entry) const;
    QString description(int entry) const;
    QAccessible::State state(int entry) const;
    QRect screenRect(int entry) const;
    QAccessible::Role groupRole(int group) const;
    QString groupName(int group) const;
    QRect groupScreenRect(int group) const;

    // Requests of assistive technology. A press runs once the request has been answered, as a
    // click's release comes after the press: what it opens must not hold the request up.
    void press(int entry);
    void focus(int entry);

    void entryFocused(int entry);
    void scheduleCheck();
    // Announces the differences from what was last announced.
    void check();

    // Also receives every announcement, whether or not assistive technology listens (Qt
    // passes them on only while it does).
    using Observer = std::function<void(QAccessibleEvent *)>;
    void setObserver(Observer observer) { m_observer = std::move(observer); }

private:
    struct Seen {
        Node node;
        int parentGroup = 0;
        QString name;
        QString description;
        unsigned state = 0;
    };
    std::vector<Seen> snapshot() const;
    unsigned stateBits(int entry) const;
    bool isListened() const;
    void announce(QAccessibleEvent &event);

    SkinnedDialog &m_dialog;
    FrameTree m_tree;
    std::map<int, QAccessible::Id> m_entries;
    std::map<int, QAccessible::Id> m_groups;
    std::vector<Seen> m_seen;
    Observer m_observer;
    bool m_checkPending = false;
};
