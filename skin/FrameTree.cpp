#include "skin/FrameTree.h"

#include "skin/EntryNaming.h"
#include "skin/FocusOrder.h"
#include "skin/SkinnedDialog.h"

#include <QWidget>

#include <map>

namespace {

ButtonRect buttonRectOf(const QRect &r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

} // namespace

std::vector<bool> FrameTree::captionLabels() const
{
    const ButtonTable &table = m_dialog.table();
    std::vector<bool> labels(table.size(), false);
    const auto shown = [this](const DrawnButton &entry) {
        return m_dialog.isEntryShown(entry);
    };
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DrawnButton &entry = table[i];
        if (!entry.isHittable() || !m_dialog.isEntryShown(entry)
            || !isControl(m_dialog.entryRole(entry)))
            continue;
        const int label = EntryNaming::captionLabel(table, int(i), m_dialog.language(),
                                                    m_dialog.scale(), shown);
        if (label >= 0)
            labels[std::size_t(label)] = true;
    }
    return labels;
}

bool FrameTree::isEntryInTree(int entry, const std::vector<bool> &captions) const
{
    const ButtonTable &table = m_dialog.table();
    if (entry < 0 || std::size_t(entry) >= table.size())
        return false;
    const DrawnButton &e = table[std::size_t(entry)];
    if (!e.isUsed() || !m_dialog.isEntryShown(e))
        return false;
    const EntryRole role = m_dialog.entryRole(e);
    if (role == EntryRole::None)
        return false;
    if (e.isLabel) {
        return role == EntryRole::StaticText && e.showText && !captions[std::size_t(entry)]
               && !EntryNaming::textOf(e.captions, m_dialog.language()).empty();
    }
    return isControl(role);
}

bool FrameTree::inTree(int entry) const
{
    const ButtonTable &table = m_dialog.table();
    if (entry < 0 || std::size_t(entry) >= table.size())
        return false;
    // Only labels depend on the others.
    if (table[std::size_t(entry)].isLabel)
        return isEntryInTree(entry, captionLabels());
    return isEntryInTree(entry, std::vector<bool>(table.size(), false));
}

int FrameTree::groupOf(int entry) const
{
    const ButtonTable &table = m_dialog.table();
    if (entry < 0 || std::size_t(entry) >= table.size() || table[std::size_t(entry)].isLabel
        || !inTree(entry))
        return 0;
    return m_dialog.focusGroup(table[std::size_t(entry)]);
}

QRect FrameTree::clientRect(int entry) const
{
    const DrawnButton &e = m_dialog.table()[std::size_t(entry)];
    const ButtonRect r = e.isLabel ? ButtonTable::toClient(e.rect, m_dialog.scale()) : e.rect;
    return QRect(r.left, r.top, r.width(), r.height());
}

std::vector<FrameTree::Node> FrameTree::children() const
{
    const ButtonTable &table = m_dialog.table();
    const std::vector<bool> captions = captionLabels();
    std::vector<Node> nodes;
    std::vector<ButtonRect> rects;
    std::map<int, std::size_t> groups;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!isEntryInTree(int(i), captions))
            continue;
        const ButtonRect rect = buttonRectOf(clientRect(int(i)));
        const int group = table[i].isLabel ? 0 : m_dialog.focusGroup(table[i]);
        if (group == 0) {
            nodes.push_back({int(i), 0, nullptr});
            rects.push_back(rect);
        } else if (const auto found = groups.find(group); found != groups.end()) {
            const ButtonRect both[2] = {rects[found->second], rect};
            rects[found->second] = FocusOrder::bounds(both);
        } else {
            groups.emplace(group, nodes.size());
            nodes.push_back({-1, group, nullptr});
            rects.push_back(rect);
        }
    }
    for (QWidget *child : m_dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && child->isVisibleTo(&m_dialog)) {
            nodes.push_back({-1, 0, child});
            rects.push_back(buttonRectOf(child->geometry()));
        }
    }
    std::vector<Node> ordered;
    ordered.reserve(nodes.size());
    for (int n : FocusOrder::readingOrder(rects))
        ordered.push_back(nodes[std::size_t(n)]);
    return ordered;
}

std::vector<int> FrameTree::members(int group) const
{
    if (group == 0)
        return {};
    const ButtonTable &table = m_dialog.table();
    const std::vector<bool> none(table.size(), false);
    std::vector<int> entries;
    std::vector<ButtonRect> rects;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].isLabel && m_dialog.focusGroup(table[i]) == group
            && isEntryInTree(int(i), none)) {
            entries.push_back(int(i));
            rects.push_back(table[i].rect);
        }
    }
    std::vector<int> ordered;
    for (int n : FocusOrder::readingOrder(rects))
        ordered.push_back(entries[std::size_t(n)]);
    return ordered;
}
