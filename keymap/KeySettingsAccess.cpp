#include "keymap/KeySettingsAccess.h"

#include "keymap/KeySettingsViews.h"
#include "layout/KeySettingsTable.h"

#include <algorithm>

using namespace KeySettingsTable;

namespace KeySettingsAccess {
namespace {

// Labels read as the name of the radio or box beside them.
constexpr int choiceLabels[]
    = {TimesPlayLabel, PressPlayLabel, TogglePlayLabel, AutoDelayLabel, RecordDelayLabel};

struct Heading {
    int group;
    int label;
};
constexpr Heading headings[] = {
    {FirstComboRow, 161}, {FirstMacroRow, 270},       {FirstMacroStepRow, 271},
    {FirstEmuRow, 357},   {FirstEmuStepRow, 358},     {FirstMediaButton, 451},
    {409, 452},           {FirstFunctionButton, 651}, {620, 652},
};

} // namespace

EntryRole role(int id, const KeySettingsViews &views)
{
    switch (kindOf(id)) {
    case Kind::None:
    case Kind::Plate:
        return EntryRole::None;
    case Kind::Label: {
        // A heading is the name of its group, and read as that.
        const bool heading = std::any_of(std::begin(headings), std::end(headings),
                                         [id](const Heading &h) { return h.label == id; });
        const bool choice = std::find(std::begin(choiceLabels), std::end(choiceLabels), id)
                            != std::end(choiceLabels);
        return heading || choice ? EntryRole::None : EntryRole::StaticText;
    }
    case Kind::PushButton:
    case Kind::PrimaryButton:
    case Kind::CloseMark:
        return EntryRole::PushButton;
    case Kind::PageTab:
        return EntryRole::PageTab;
    case Kind::Radio:
    case Kind::CodeCap:
    case Kind::CodeRow:
    case Kind::PowerKey:
        // One code of a page at most: a choice among them.
        return EntryRole::RadioButton;
    case Kind::Check:
        return EntryRole::CheckBox;
    case Kind::ListRow: {
        const ActionListView *view = views.ofRow(id);
        return view && view->rowHasEntry(view->rowOf(id)) ? EntryRole::ListItem : EntryRole::None;
    }
    }
    return EntryRole::None;
}

int group(int id)
{
    switch (kindOf(id)) {
    case Kind::PageTab:
        return FirstTab;
    case Kind::ListRow:
        // Rows are numbered from their list's first row, ten apart at least.
        for (int first :
             {FirstComboRow, FirstMacroRow, FirstMacroStepRow, FirstEmuRow, FirstEmuStepRow}) {
            if (id >= first && id < first + 10)
                return first;
        }
        return 0;
    case Kind::CodeCap:
    case Kind::CodeRow:
    case Kind::PowerKey:
        if (id >= FirstMediaButton && id <= LastMediaButton)
            return id < 409 ? FirstMediaButton : 409; // the player's, then the browser's
        if (id >= FirstFunctionButton && id <= LastFunctionButton)
            return id < 620 ? FirstFunctionButton : 620; // keys, then the backlight
        return id >= FirstPowerButton ? FirstPowerButton : FirstMouseButton;
    default:
        return 0;
    }
}

int groupHeading(int group)
{
    for (const Heading &heading : headings) {
        if (heading.group == group)
            return heading.label;
    }
    return 0;
}

bool actsNow(int id, bool singleMode)
{
    return !(singleMode ? actsInComboModeOnly(id) : actsInSingleModeOnly(id));
}

int rowTarget(const ActionList &list, RowMove move)
{
    if (list.size() == 0)
        return -1;
    const int position = list.scrollPosition();
    int target = position;
    switch (move) {
    case RowMove::Up:
        target = position - 1;
        break;
    case RowMove::Down:
        target = position + 1;
        break;
    case RowMove::First:
        target = 0;
        break;
    case RowMove::Last:
        target = list.size() - 1;
        break;
    }
    target = std::clamp(target, 0, list.size() - 1);
    return target == position ? -1 : target;
}

int topShowing(const ActionList &list, int target)
{
    if (target < list.top)
        return target;
    if (list.pageRows > 0 && target >= list.top + list.pageRows)
        return target - list.pageRows + 1;
    return list.top;
}

} // namespace KeySettingsAccess
