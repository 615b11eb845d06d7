#pragma once

#include <QRect>

#include <vector>

class QWidget;
class SkinnedDialog;

// Which parts of a skinned dialog assistive technology sees, and in what order: the drawn
// entries of the page shown (controls, and the labels that are not the text of a control),
// groups of entries, and the dialog's child widgets, all read from the table when asked.
class FrameTree {
public:
    // A child of the frame: a drawn entry, a group of entries, or a child widget.
    struct Node {
        int entry = -1;
        int group = 0;
        QWidget *widget = nullptr;
        bool operator==(const Node &) const = default;
    };

    explicit FrameTree(const SkinnedDialog &dialog)
        : m_dialog(dialog)
    {}

    // The frame's children in reading order.
    std::vector<Node> children() const;
    // Members of a group that are in the tree, in reading order.
    std::vector<int> members(int group) const;
    bool inTree(int entry) const;
    // The group that holds an entry of the tree, or 0.
    int groupOf(int entry) const;
    // An entry's rectangle in client pixels.
    QRect clientRect(int entry) const;

private:
    // Labels whose text is the name of a control shown with them.
    std::vector<bool> captionLabels() const;
    bool isEntryInTree(int entry, const std::vector<bool> &captions) const;

    const SkinnedDialog &m_dialog;
};
