#include "skin/FrameFocus.h"

#include "layout/WindowsColour.h"
#include "skin/FocusOrder.h"
#include "skin/FrameAccessibility.h"
#include "skin/SkinnedDialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <algorithm>

namespace {

// The accent of the faces, with a light rim inside it that keeps it apart from entries that
// are themselves filled with the accent and from the lighting dialogs' colour frames.
constexpr std::uint32_t MarkColour = 0x006FFF;
constexpr std::uint32_t MarkRim = 0xF0F0F0;
constexpr double MarkWidth = 2.0; // base pixels
constexpr double MarkRadius = 3.0;

ButtonRect rectOf(const QWidget *widget)
{
    const QRect g = widget->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

FocusOrder::Direction directionOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Left:
        return FocusOrder::Direction::Left;
    case Qt::Key_Right:
        return FocusOrder::Direction::Right;
    case Qt::Key_Up:
        return FocusOrder::Direction::Up;
    default:
        return FocusOrder::Direction::Down;
    }
}

bool isArrowOrEnd(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down
           || key == Qt::Key_Home || key == Qt::Key_End;
}

} // namespace

FrameFocus::FrameFocus(SkinnedDialog &dialog)
    : m_dialog(dialog)
{}

bool FrameFocus::isStop(int index) const
{
    const ButtonTable &table = m_dialog.table();
    if (index < 0 || std::size_t(index) >= table.size())
        return false;
    const DrawnButton &entry = table[std::size_t(index)];
    return entry.isHittable() && m_dialog.isEntryShown(entry)
           && isControl(m_dialog.entryRole(entry)) && m_dialog.isEntryEnabled(entry);
}

int FrameFocus::focusedEntry() const
{
    // The face's own focus, also while another window is active: the mark stays where it was.
    const QWidget *focus = m_dialog.focusWidget();
    return (!focus || focus == &m_dialog) && isStop(m_entry) ? m_entry : -1;
}

bool FrameFocus::isMarkShown() const
{
    return m_markWanted && focusedEntry() >= 0;
}

std::vector<int> FrameFocus::groupStops(int group) const
{
    std::vector<int> members;
    std::vector<ButtonRect> rects;
    const ButtonTable &table = m_dialog.table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (isStop(int(i)) && m_dialog.focusGroup(table[i]) == group) {
            members.push_back(int(i));
            rects.push_back(table[i].rect);
        }
    }
    std::vector<int> ordered;
    for (int n : FocusOrder::readingOrder(rects))
        ordered.push_back(members[std::size_t(n)]);
    return ordered;
}

std::vector<FrameFocus::Stop> FrameFocus::orderedStops(bool withProbe) const
{
    std::vector<Stop> stops;
    std::map<int, std::size_t> groups; // group -> its stop
    const ButtonTable &table = m_dialog.table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!isStop(int(i)))
            continue;
        const int group = m_dialog.focusGroup(table[i]);
        if (group == 0) {
            stops.push_back({int(i), 0, nullptr, table[i].rect});
            continue;
        }
        const auto found = groups.find(group);
        if (found == groups.end()) {
            groups.emplace(group, stops.size());
            stops.push_back({int(i), group, nullptr, table[i].rect});
        } else {
            ButtonRect &all = stops[found->second].rect;
            const ButtonRect both[2] = {all, table[i].rect};
            all = FocusOrder::bounds(both);
        }
    }
    for (QWidget *child : m_dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && child->isVisibleTo(&m_dialog) && child->isEnabled()
            && (child->focusPolicy() & Qt::TabFocus) && !child->focusProxy())
            stops.push_back({-1, 0, child, rectOf(child)});
    }
    // Where the focus stood on an entry that is no stop any more: Tab goes on from its place.
    if (withProbe && m_entry >= 0 && std::size_t(m_entry) < table.size() && !isStop(m_entry))
        stops.push_back({m_entry, 0, nullptr, table[std::size_t(m_entry)].rect, true});

    std::vector<ButtonRect> rects;
    for (const Stop &stop : stops)
        rects.push_back(stop.rect);
    std::vector<Stop> ordered;
    for (int n : FocusOrder::readingOrder(rects))
        ordered.push_back(stops[std::size_t(n)]);
    return ordered;
}

int FrameFocus::entryOfGroup(int group) const
{
    const std::vector<int> members = groupStops(group);
    if (members.empty())
        return -1;
    const auto last = m_lastInGroup.find(group);
    if (last != m_lastInGroup.end()
        && std::find(members.begin(), members.end(), last->second) != members.end())
        return last->second;
    // Else the one chosen (the page shown, the selected row), else the first.
    for (int member : members) {
        const DrawnButton &entry = m_dialog.table()[std::size_t(member)];
        if (isCheckable(m_dialog.entryRole(entry)) && m_dialog.isEntryChecked(entry))
            return member;
    }
    return members.front();
}

bool FrameFocus::tab(bool forward)
{
    const std::vector<Stop> stops = orderedStops(true);
    QWidget *focus = m_dialog.focusWidget();
    // A field that hides hands the focus back to the face, not to the next stop.
    if (focus && focus != &m_dialog && focus->isHidden()) {
        m_dialog.setFocus(Qt::OtherFocusReason);
        return true;
    }
    const bool onChild = focus && focus != &m_dialog;
    const int currentGroup = !onChild && isStop(m_entry)
                                 ? m_dialog.focusGroup(m_dialog.table()[std::size_t(m_entry)])
                                 : 0;
    int at = -1;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const Stop &stop = stops[i];
        const bool here
            = onChild ? stop.widget && (stop.widget == focus || stop.widget->isAncestorOf(focus))
                      : !stop.widget && m_entry >= 0
                            && (stop.entry == m_entry
                                || (currentGroup != 0 && stop.group == currentGroup));
        if (here) {
            at = int(i);
            break;
        }
    }
    const int n = int(stops.size());
    int i = at >= 0 ? at : (forward ? -1 : n);
    for (int step = 0; step < n; ++step) {
        i = (i + (forward ? 1 : -1) + n) % n;
        if (!stops[std::size_t(i)].probe)
            return moveTo(stops[std::size_t(i)], forward);
    }
    return false;
}

bool FrameFocus::moveTo(const Stop &stop, bool forward)
{
    const Qt::FocusReason reason = forward ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    if (stop.widget) {
        stop.widget->setFocus(reason);
        return true;
    }
    const int target = stop.group != 0 ? entryOfGroup(stop.group) : stop.entry;
    if (target < 0)
        return false;
    m_dialog.setFocus(reason);
    focusEntry(target);
    return true;
}

void FrameFocus::focusEntry(int index, bool showMark)
{
    if (!isStop(index))
        return;
    const int old = m_entry;
    const bool wasShown = isMarkShown();
    m_entry = index;
    m_markWanted = m_markWanted || showMark;
    const int group = m_dialog.focusGroup(m_dialog.table()[std::size_t(index)]);
    if (group != 0)
        m_lastInGroup[group] = index;
    if (old != index || !wasShown) {
        repaintMark(old);
        repaintMark(index);
    }
    if (FrameAccessibility *access = m_dialog.accessibility(); access && focusedEntry() == index)
        access->entryFocused(index);
}

void FrameFocus::pointerPressed(int index)
{
    if (m_markWanted)
        repaintMark(m_entry);
    m_markWanted = false;
    if (!isStop(index))
        return;
    m_entry = index;
    const int group = m_dialog.focusGroup(m_dialog.table()[std::size_t(index)]);
    if (group != 0)
        m_lastInGroup[group] = index;
}

void FrameFocus::focusChanged()
{
    if (m_markWanted)
        repaintMark(m_entry);
}

int FrameFocus::neighbourInGroup(int index, Qt::Key key) const
{
    if (!isStop(index))
        return -1;
    const int group = m_dialog.focusGroup(m_dialog.table()[std::size_t(index)]);
    if (group == 0)
        return -1;
    const std::vector<int> members = groupStops(group);
    if (members.empty())
        return -1;
    if (key == Qt::Key_Home)
        return members.front();
    if (key == Qt::Key_End)
        return members.back();
    std::vector<ButtonRect> rects;
    int from = -1;
    for (int member : members) {
        if (member == index)
            from = int(rects.size());
        rects.push_back(m_dialog.table()[std::size_t(member)].rect);
    }
    const int to = FocusOrder::neighbour(rects, from, directionOf(key));
    return to < 0 ? -1 : members[std::size_t(to)];
}

bool FrameFocus::key(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const int key = event->key();
    if (isArrowOrEnd(key)) {
        if (!isStop(m_entry) || m_dialog.focusGroup(m_dialog.table()[std::size_t(m_entry)]) == 0)
            return false;
        const int target = m_dialog.arrowTarget(m_entry, Qt::Key(key));
        if (target >= 0)
            focusEntry(target);
        else
            focusEntry(m_entry); // the mark shows where the focus is, even at an edge
        return true;
    }
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Without the mark Enter keeps its meaning to the dialog (OK in the key settings).
        if (!m_markWanted || !isStop(m_entry))
            return false;
        if (!event->isAutoRepeat())
            m_dialog.pressEntry(m_entry);
        return true;
    }
    return false;
}

void FrameFocus::repaintMark(int index) const
{
    const ButtonTable &table = m_dialog.table();
    if (index < 0 || std::size_t(index) >= table.size())
        return;
    const ButtonRect &r = table[std::size_t(index)].rect;
    // The stretched mark reaches a pixel or two beyond its rectangle.
    const int margin = int(m_dialog.scale()) + 2;
    m_dialog.update(
        QRect(r.left, r.top, r.width(), r.height()).adjusted(-margin, -margin, margin, margin));
}

void FrameFocus::paint(QPainter &painter) const
{
    if (!isMarkShown())
        return;
    const QRectF base = QRectF(m_dialog.baseRect(m_dialog.table()[std::size_t(m_entry)]));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Only where the face is: the mark never fills in the window's transparent corners.
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.setBrush(Qt::NoBrush);
    const QRectF outer
        = base.adjusted(MarkWidth / 2, MarkWidth / 2, -MarkWidth / 2, -MarkWidth / 2);
    painter.setPen(QPen(colourFromWindows(MarkColour), MarkWidth));
    painter.drawRoundedRect(outer, MarkRadius, MarkRadius);
    painter.setPen(QPen(colourFromWindows(MarkRim), 1.0));
    painter.drawRoundedRect(outer.adjusted(MarkWidth / 2 + 0.5, MarkWidth / 2 + 0.5,
                                           -MarkWidth / 2 - 0.5, -MarkWidth / 2 - 0.5),
                            MarkRadius - 1, MarkRadius - 1);
    painter.restore();
}
