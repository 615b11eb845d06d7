#pragma once

#include "layout/EntryRole.h"
#include "model/ActionList.h"

class KeySettingsViews;

// The key settings dialog's entries to the keyboard and screen readers, as data: what each is,
// which of them form one Tab stop (the page tabs, the rows of a list, a row of code buttons)
// and which heading names such a group.
namespace KeySettingsAccess {

// By the entry's kind. Rows without an entry and the delay plate are nothing; so are the labels
// beside radios and boxes, whose text is the name of the choice already, and the headings,
// which name their groups.
EntryRole role(int id, const KeySettingsViews &views);

// The group of a control, or 0. Groups are named by their first id.
int group(int id);
// The heading label over a group, or 0.
int groupHeading(int group);

// Whether a button acts in the mode shown (page 1 has buttons for one mode only).
bool actsNow(int id, bool singleMode);

enum class RowMove { Up, Down, First, Last };
// Where a move of the keyboard takes the selection of a list: its new absolute index, or -1
// when it stays.
int rowTarget(const ActionList &list, RowMove move);
// The first visible row that shows `target` with the least scrolling.
int topShowing(const ActionList &list, int target);

} // namespace KeySettingsAccess
