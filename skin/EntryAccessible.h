#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class FrameAccessibility;
class SkinnedDialog;

// One drawn entry of a skinned dialog as assistive technology sees it. It holds only the
// dialog and the entry's place in the table; everything else is asked of the dialog.
class EntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    EntryAccessible(SkinnedDialog *dialog, int entry);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    int entry() const { return m_entry; }

private:
    FrameAccessibility *access() const;

    QPointer<SkinnedDialog> m_dialog;
    int m_entry;
};
