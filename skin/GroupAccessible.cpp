#include "skin/GroupAccessible.h"

#include "skin/EntryAccessible.h"
#include "skin/FrameAccessibility.h"
#include "skin/SkinnedDialog.h"

#include <algorithm>

GroupAccessible::GroupAccessible(SkinnedDialog *dialog, int group)
    : m_dialog(dialog)
    , m_group(group)
{}

FrameAccessibility *GroupAccessible::access() const
{
    return m_dialog ? m_dialog->accessibility() : nullptr;
}

bool GroupAccessible::isValid() const
{
    return access() != nullptr;
}

QWindow *GroupAccessible::window() const
{
    return m_dialog ? m_dialog->windowHandle() : nullptr;
}

QAccessibleInterface *GroupAccessible::parent() const
{
    FrameAccessibility *frame = access();
    return frame ? frame->frameInterface() : nullptr;
}

int GroupAccessible::childCount() const
{
    FrameAccessibility *frame = access();
    return frame ? int(frame->members(m_group).size()) : 0;
}

QAccessibleInterface *GroupAccessible::child(int index) const
{
    FrameAccessibility *frame = access();
    if (!frame || index < 0)
        return nullptr;
    const std::vector<int> members = frame->members(m_group);
    return std::size_t(index) < members.size() ? frame->entryInterface(members[std::size_t(index)])
                                               : nullptr;
}

int GroupAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    FrameAccessibility *frame = access();
    const auto *entry = dynamic_cast<const EntryAccessible *>(child);
    if (!frame || !entry)
        return -1;
    const std::vector<int> members = frame->members(m_group);
    const auto found = std::find(members.begin(), members.end(), entry->entry());
    return found == members.end() ? -1 : int(found - members.begin());
}

QAccessibleInterface *GroupAccessible::childAt(int x, int y) const
{
    FrameAccessibility *frame = access();
    if (!frame)
        return nullptr;
    for (int member : frame->members(m_group)) {
        if (frame->screenRect(member).contains(x, y))
            return frame->entryInterface(member);
    }
    return nullptr;
}

QString GroupAccessible::text(QAccessible::Text t) const
{
    FrameAccessibility *frame = access();
    return frame && t == QAccessible::Name ? frame->groupName(m_group) : QString();
}

QRect GroupAccessible::rect() const
{
    FrameAccessibility *frame = access();
    return frame ? frame->groupScreenRect(m_group) : QRect();
}

QAccessible::Role GroupAccessible::role() const
{
    FrameAccessibility *frame = access();
    return frame ? frame->groupRole(m_group) : QAccessible::Grouping;
}

QAccessible::State GroupAccessible::state() const
{
    QAccessible::State state;
    state.invalid = !isValid();
    state.invisible = !m_dialog || !m_dialog->isVisible();
    return state;
}
