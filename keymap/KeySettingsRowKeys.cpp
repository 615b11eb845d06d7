#include "keymap/KeySettingsRowKeys.h"

#include "keymap/KeySettingsAccess.h"
#include "keymap/KeySettingsModel.h"
#include "keymap/KeySettingsViews.h"
#include "layout/KeySettingsTable.h"

int KeySettingsRowKeys::press(KeySettingsModel &model, const KeySettingsViews &views, int id,
                              Qt::Key key, const std::function<void()> &beforeMove)
{
    const int page = KeySettingsTable::pageOfId(id);
    WorkingList *list = model.listOfPage(page);
    const ActionListView *entries = views.entries(page);
    const ActionListView *steps = views.steps(page);
    const bool isStep = steps && steps->rowOf(id) >= 0;
    const ActionListView *view = isStep ? steps : entries;
    if (!list || !view || view->rowOf(id) < 0)
        return NotARow;

    using KeySettingsAccess::RowMove;
    RowMove move;
    switch (key) {
    case Qt::Key_Up:
        move = RowMove::Up;
        break;
    case Qt::Key_Down:
        move = RowMove::Down;
        break;
    case Qt::Key_Home:
        move = RowMove::First;
        break;
    case Qt::Key_End:
        move = RowMove::Last;
        break;
    default:
        return Stays;
    }
    ActionList &shown = isStep ? list->current() : list->list();
    const int target = KeySettingsAccess::rowTarget(shown, move);
    if (target < 0)
        return Stays;
    // The field lies over a row that is about to show another entry.
    beforeMove();
    const int top = KeySettingsAccess::topShowing(shown, target);
    if (isStep) {
        shown.top = top;
        shown.selected = target - top;
    } else {
        // The selection's absolute place stays while the window moves, so that the current
        // entry is stored back where it came from; then the entry at the target is selected.
        const int old = shown.scrollPosition();
        shown.top = top;
        shown.selected = old - top;
        list->selectRow(target - top);
    }
    return view->firstRowId() + (isStep ? list->current() : list->list()).selected;
}
