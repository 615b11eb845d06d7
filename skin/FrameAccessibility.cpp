#include "skin/FrameAccessibility.h"

#include "skin/EntryAccessible.h"
#include "skin/FocusOrder.h"
#include "skin/FrameFocus.h"
#include "skin/GroupAccessible.h"
#include "skin/SkinnedDialog.h"

#include <QAccessibleInterface>
#include <QTimer>
#include <QWidget>

namespace {

enum StateBit : unsigned {
    Checked = 1,
    Selected = 2,
    Disabled = 4,
    Focused = 8,
};

QAccessible::State stateOfBits(unsigned bits)
{
    QAccessible::State state;
    state.checked = (bits & Checked) != 0;
    state.selected = (bits & Selected) != 0;
    state.disabled = (bits & Disabled) != 0;
    state.focused = (bits & Focused) != 0;
    return state;
}

} // namespace

FrameAccessibility::FrameAccessibility(SkinnedDialog &dialog)
    : m_dialog(dialog)
    , m_tree(dialog)
{}

FrameAccessibility::~FrameAccessibility()
{
    for (const auto &[entry, id] : m_entries)
        QAccessible::deleteAccessibleInterface(id);
    for (const auto &[group, id] : m_groups)
        QAccessible::deleteAccessibleInterface(id);
}

std::vector<FrameAccessibility::Node> FrameAccessibility::children() const
{
    return m_tree.children();
}

std::vector<int> FrameAccessibility::members(int group) const
{
    return m_tree.members(group);
}

bool FrameAccessibility::inTree(int entry) const
{
    return m_tree.inTree(entry);
}

int FrameAccessibility::groupOf(int entry) const
{
    return m_tree.groupOf(entry);
}

QAccessibleInterface *FrameAccessibility::frameInterface() const
{
    return QAccessible::queryAccessibleInterface(&m_dialog);
}

QAccessibleInterface *FrameAccessibility::entryInterface(int entry)
{
    if (entry < 0 || std::size_t(entry) >= m_dialog.table().size())
        return nullptr;
    auto found = m_entries.find(entry);
    if (found == m_entries.end())
        found = m_entries
                    .emplace(entry, QAccessible::registerAccessibleInterface(
                                        new EntryAccessible(&m_dialog, entry)))
                    .first;
    return QAccessible::accessibleInterface(found->second);
}

QAccessibleInterface *FrameAccessibility::groupInterface(int group)
{
    if (group == 0)
        return nullptr;
    auto found = m_groups.find(group);
    if (found == m_groups.end())
        found = m_groups
                    .emplace(group, QAccessible::registerAccessibleInterface(
                                        new GroupAccessible(&m_dialog, group)))
                    .first;
    return QAccessible::accessibleInterface(found->second);
}

QAccessibleInterface *FrameAccessibility::interfaceOf(const Node &node)
{
    if (node.widget)
        return QAccessible::queryAccessibleInterface(node.widget);
    if (node.group != 0)
        return groupInterface(node.group);
    return entryInterface(node.entry);
}

QAccessible::Role FrameAccessibility::role(int entry) const
{
    switch (m_dialog.entryRole(m_dialog.table()[std::size_t(entry)])) {
    case EntryRole::StaticText:
        return QAccessible::StaticText;
    case EntryRole::RadioButton:
        return QAccessible::RadioButton;
    case EntryRole::CheckBox:
        return QAccessible::CheckBox;
    case EntryRole::PageTab:
        return QAccessible::PageTab;
    case EntryRole::ListItem:
        return QAccessible::ListItem;
    case EntryRole::PushButton:
    case EntryRole::ToggleButton:
    case EntryRole::Key:
        return QAccessible::Button;
    case EntryRole::None:
        break;
    }
    return QAccessible::NoRole;
}

QString FrameAccessibility::name(int entry) const
{
    return m_dialog.entryName(m_dialog.table()[std::size_t(entry)]);
}

QString FrameAccessibility::description(int entry) const
{
    return m_dialog.entryDescription(m_dialog.table()[std::size_t(entry)]);
}

unsigned FrameAccessibility::stateBits(int entry) const
{
    const DrawnButton &e = m_dialog.table()[std::size_t(entry)];
    const EntryRole role = m_dialog.entryRole(e);
    unsigned bits = 0;
    if (isCheckable(role) && m_dialog.isEntryChecked(e))
        bits |= role == EntryRole::ListItem || role == EntryRole::PageTab ? Selected : Checked;
    if (isControl(role) && !m_dialog.isEntryEnabled(e))
        bits |= Disabled;
    if (m_dialog.frameFocus().focusedEntry() == entry && m_dialog.isActiveWindow())
        bits |= Focused;
    return bits;
}

QAccessible::State FrameAccessibility::state(int entry) const
{
    const DrawnButton &e = m_dialog.table()[std::size_t(entry)];
    const EntryRole role = m_dialog.entryRole(e);
    QAccessible::State state = stateOfBits(stateBits(entry));
    if (isControl(role)) {
        state.focusable = !state.disabled;
        if (role == EntryRole::ListItem || role == EntryRole::PageTab)
            state.selectable = true;
        else if (isCheckable(role))
            state.checkable = true;
    } else {
        state.readOnly = true;
    }
    if (!m_dialog.isVisible())
        state.invisible = true;
    return state;
}

QRect FrameAccessibility::screenRect(int entry) const
{
    const QRect local = m_tree.clientRect(entry);
    return QRect(m_dialog.mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role FrameAccessibility::groupRole(int group) const
{
    const std::vector<int> entries = members(group);
    if (entries.empty())
        return QAccessible::Grouping;
    switch (m_dialog.entryRole(m_dialog.table()[std::size_t(entries.front())])) {
    case EntryRole::ListItem:
        return QAccessible::List;
    case EntryRole::PageTab:
        return QAccessible::PageTabList;
    default:
        return QAccessible::Grouping;
    }
}

QString FrameAccessibility::groupName(int group) const
{
    return m_dialog.focusGroupName(group);
}

QRect FrameAccessibility::groupScreenRect(int group) const
{
    std::vector<ButtonRect> rects;
    for (int entry : members(group))
        rects.push_back(m_dialog.table()[std::size_t(entry)].rect);
    if (rects.empty())
        return {};
    const ButtonRect all = FocusOrder::bounds(rects);
    return QRect(m_dialog.mapToGlobal(QPoint(all.left, all.top)), QSize(all.width(), all.height()));
}

void FrameAccessibility::press(int entry)
{
    SkinnedDialog *dialog = &m_dialog;
    QTimer::singleShot(0, dialog, [dialog, entry] { dialog->pressEntry(entry); });
}

void FrameAccessibility::focus(int entry)
{
    if (!m_dialog.frameFocus().isStop(entry))
        return;
    m_dialog.setFocus(Qt::OtherFocusReason);
    m_dialog.frameFocus().focusEntry(entry);
}

bool FrameAccessibility::isListened() const
{
    return QAccessible::isActive() || m_observer;
}

void FrameAccessibility::announce(QAccessibleEvent &event)
{
    if (m_observer)
        m_observer(&event);
    QAccessible::updateAccessibility(&event);
}

void FrameAccessibility::entryFocused(int entry)
{
    if (!isListened())
        return;
    if (QAccessibleInterface *iface = entryInterface(entry)) {
        QAccessibleEvent event(iface, QAccessible::Focus);
        announce(event);
    }
}

void FrameAccessibility::scheduleCheck()
{
    if (m_checkPending || !isListened())
        return;
    m_checkPending = true;
    SkinnedDialog *dialog = &m_dialog;
    QTimer::singleShot(0, dialog, [dialog] {
        if (FrameAccessibility *access = dialog->accessibility())
            access->check();
    });
}

std::vector<FrameAccessibility::Seen> FrameAccessibility::snapshot() const
{
    std::vector<Seen> seen;
    const auto add = [&](const Node &node, int parentGroup) {
        Seen s{node, parentGroup, {}, {}, 0};
        if (!node.widget && node.group == 0) {
            s.name = name(node.entry);
            s.description = description(node.entry);
            s.state = stateBits(node.entry);
        }
        seen.push_back(std::move(s));
    };
    for (const Node &node : children()) {
        add(node, 0);
        for (int member : members(node.group))
            add({member, 0, nullptr}, node.group);
    }
    return seen;
}

void FrameAccessibility::check()
{
    m_checkPending = false;
    if (!isListened())
        return;
    std::vector<Seen> now = snapshot();
    bool reordered = now.size() != m_seen.size();
    for (std::size_t i = 0; !reordered && i < now.size(); ++i)
        reordered = !(now[i].node == m_seen[i].node) || now[i].parentGroup != m_seen[i].parentGroup;
    if (reordered) {
        QAccessibleEvent frameEvent(frameInterface(), QAccessible::ObjectReorder);
        announce(frameEvent);
        for (const Seen &s : now) {
            if (s.node.group != 0 && !s.node.widget && s.node.entry < 0) {
                QAccessibleEvent groupEvent(groupInterface(s.node.group),
                                            QAccessible::ObjectReorder);
                announce(groupEvent);
            }
        }
    }
    std::map<int, const Seen *> before;
    for (const Seen &s : m_seen) {
        if (!s.node.widget && s.node.entry >= 0)
            before[s.node.entry] = &s;
    }
    for (const Seen &s : now) {
        if (s.node.widget || s.node.entry < 0)
            continue;
        const auto found = before.find(s.node.entry);
        if (found == before.end())
            continue;
        QAccessibleInterface *iface = entryInterface(s.node.entry);
        if (found->second->name != s.name) {
            QAccessibleEvent event(iface, QAccessible::NameChanged);
            announce(event);
        }
        if (found->second->description != s.description) {
            QAccessibleEvent event(iface, QAccessible::DescriptionChanged);
            announce(event);
        }
        if (const unsigned changed = found->second->state ^ s.state) {
            QAccessibleStateChangeEvent event(iface, stateOfBits(changed));
            announce(event);
        }
    }
    m_seen = std::move(now);
}
