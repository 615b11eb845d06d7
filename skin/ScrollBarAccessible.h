#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class CSkinScrollBar;

// A skin scroll bar as a scroll bar whose value is its position; setting the value scrolls
// the owner's list as dragging the thumb there would.
class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ScrollBarAccessible(CSkinScrollBar *bar);

    void *interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

private:
    CSkinScrollBar *bar() const;
};
