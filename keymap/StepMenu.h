#pragma once

#include <QPoint>

class QFont;
class QMenu;
class QWidget;

// The right-button menu on a macro's step rows: press, release or click of the three mouse
// buttons, the wheel, and Delete, in the dialog's dark look.
class StepMenu {
public:
    // The menu, its actions carrying their item ids (1135..1147) as data.
    static QMenu *create(QWidget *parent, bool chinese, const QFont &font);
    // Runs it at a point of the screen; the item chosen, 0 for none.
    static int run(QWidget *parent, const QPoint &globalPos, bool chinese, const QFont &font);
};
