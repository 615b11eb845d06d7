#include "skin/ScrollBarAccessible.h"

#include "skin/CSkinScrollBar.h"

#include <algorithm>

ScrollBarAccessible::ScrollBarAccessible(CSkinScrollBar *bar)
    : QAccessibleWidget(bar, QAccessible::ScrollBar)
{}

CSkinScrollBar *ScrollBarAccessible::bar() const
{
    return qobject_cast<CSkinScrollBar *>(object());
}

void *ScrollBarAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant ScrollBarAccessible::currentValue() const
{
    const CSkinScrollBar *b = bar();
    return b ? b->scrollInfo().position : 0;
}

void ScrollBarAccessible::setCurrentValue(const QVariant &value)
{
    if (CSkinScrollBar *b = bar())
        b->requestPosition(value.toInt());
}

QVariant ScrollBarAccessible::maximumValue() const
{
    const CSkinScrollBar *b = bar();
    if (!b)
        return 0;
    const ScrollInfo info = b->scrollInfo();
    return std::max(info.minimum, info.maximum - info.page + 1);
}

QVariant ScrollBarAccessible::minimumValue() const
{
    const CSkinScrollBar *b = bar();
    return b ? b->scrollInfo().minimum : 0;
}
