#pragma once

#include <QAccessibleWidget>

class FrameAccessibility;
class SkinnedDialog;

// A skinned dialog as assistive technology sees it: a window or dialog named by its title,
// whose children are its drawn entries, their groups and its child widgets.
class FrameAccessible : public QAccessibleWidget {
public:
    explicit FrameAccessible(SkinnedDialog *dialog);

    // Lets Qt create these for skinned dialogs and their skin scroll bars; once per process.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    FrameAccessibility *access() const;
};
