#include "skin/FrameAccessible.h"

#include "skin/CSkinScrollBar.h"
#include "skin/EntryAccessible.h"
#include "skin/FrameAccessibility.h"
#include "skin/FrameFocus.h"
#include "skin/ScrollBarAccessible.h"
#include "skin/SkinnedDialog.h"

#include <algorithm>

namespace {

QAccessibleInterface *skinFactory(const QString &, QObject *object)
{
    if (auto *dialog = qobject_cast<SkinnedDialog *>(object))
        return new FrameAccessible(dialog);
    if (auto *bar = qobject_cast<CSkinScrollBar *>(object))
        return new ScrollBarAccessible(bar);
    return nullptr;
}

} // namespace

FrameAccessible::FrameAccessible(SkinnedDialog *dialog)
    : QAccessibleWidget(dialog, dialog->parentWidget() ? QAccessible::Dialog : QAccessible::Window)
{}

void FrameAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&skinFactory);
        return true;
    }();
    (void)installed;
}

FrameAccessibility *FrameAccessible::access() const
{
    // While the dialog is taken down it is no skinned dialog any more.
    auto *dialog = qobject_cast<SkinnedDialog *>(object());
    return dialog ? dialog->accessibility() : nullptr;
}

int FrameAccessible::childCount() const
{
    FrameAccessibility *frame = access();
    return frame ? int(frame->children().size()) : 0;
}

QAccessibleInterface *FrameAccessible::child(int index) const
{
    FrameAccessibility *frame = access();
    if (!frame || index < 0)
        return nullptr;
    const std::vector<FrameAccessibility::Node> nodes = frame->children();
    return std::size_t(index) < nodes.size() ? frame->interfaceOf(nodes[std::size_t(index)])
                                             : nullptr;
}

int FrameAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    FrameAccessibility *frame = access();
    if (!frame || !child)
        return -1;
    const std::vector<FrameAccessibility::Node> nodes = frame->children();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (frame->interfaceOf(nodes[i]) == child)
            return int(i);
    }
    return -1;
}

QAccessibleInterface *FrameAccessible::childAt(int x, int y) const
{
    FrameAccessibility *frame = access();
    if (!frame)
        return nullptr;
    for (const FrameAccessibility::Node &node : frame->children()) {
        QAccessibleInterface *iface = frame->interfaceOf(node);
        if (iface && iface->rect().contains(x, y))
            return iface;
    }
    return nullptr;
}

QAccessibleInterface *FrameAccessible::focusChild() const
{
    FrameAccessibility *frame = access();
    auto *dialog = qobject_cast<SkinnedDialog *>(object());
    if (!frame || !dialog)
        return nullptr;
    const int entry = dialog->frameFocus().focusedEntry();
    if (entry >= 0 && frame->inTree(entry))
        return frame->entryInterface(entry);
    return QAccessibleWidget::focusChild();
}
