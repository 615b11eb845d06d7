#pragma once

#include "model/ActionList.h"

#include <string>

// The names New proposes for an entry of a predefined list: "New Combo 1", "宏定义2", ...
// with the smallest number no entry of the list is already named with.
namespace EntryNames {

enum class ListKind { Combos, Macros, Emulations };

std::string proposedName(const ActionList &list, ListKind kind, bool chinese);

} // namespace EntryNames
