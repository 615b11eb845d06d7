#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class FrameAccessibility;
class SkinnedDialog;

// A group of drawn entries (a keyboard drawing, a list, the page tabs) as one element holding
// its members, so that a screen reader can say where in it an entry lies.
class GroupAccessible : public QAccessibleInterface {
public:
    GroupAccessible(SkinnedDialog *dialog, int group);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    FrameAccessibility *access() const;

    QPointer<SkinnedDialog> m_dialog;
    int m_group;
};
