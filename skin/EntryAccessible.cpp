#include "skin/EntryAccessible.h"

#include "skin/FrameAccessibility.h"
#include "skin/SkinnedDialog.h"

EntryAccessible::EntryAccessible(SkinnedDialog *dialog, int entry)
    : m_dialog(dialog)
    , m_entry(entry)
{}

FrameAccessibility *EntryAccessible::access() const
{
    return m_dialog ? m_dialog->accessibility() : nullptr;
}

bool EntryAccessible::isValid() const
{
    const FrameAccessibility *frame = access();
    return frame && std::size_t(m_entry) < m_dialog->table().size()
           && m_dialog->table()[std::size_t(m_entry)].isUsed();
}

QWindow *EntryAccessible::window() const
{
    return m_dialog ? m_dialog->windowHandle() : nullptr;
}

QAccessibleInterface *EntryAccessible::parent() const
{
    FrameAccessibility *frame = access();
    if (!frame)
        return nullptr;
    const int group = frame->groupOf(m_entry);
    return group != 0 ? frame->groupInterface(group) : frame->frameInterface();
}

QString EntryAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name:
        return access()->name(m_entry);
    case QAccessible::Description:
        return access()->description(m_entry);
    default:
        return {};
    }
}

QRect EntryAccessible::rect() const
{
    return isValid() ? access()->screenRect(m_entry) : QRect();
}

QAccessible::Role EntryAccessible::role() const
{
    return isValid() ? access()->role(m_entry) : QAccessible::NoRole;
}

QAccessible::State EntryAccessible::state() const
{
    if (!isValid()) {
        QAccessible::State gone;
        gone.invalid = true;
        return gone;
    }
    return access()->state(m_entry);
}

void *EntryAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface && role() != QAccessible::StaticText)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList EntryAccessible::actionNames() const
{
    if (!isValid() || role() == QAccessible::StaticText || state().disabled)
        return {};
    return {pressAction(), setFocusAction()};
}

void EntryAccessible::doAction(const QString &actionName)
{
    if (!actionNames().contains(actionName))
        return;
    if (actionName == pressAction())
        access()->press(m_entry);
    else if (actionName == setFocusAction())
        access()->focus(m_entry);
}
