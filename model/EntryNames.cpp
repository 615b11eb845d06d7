#include "model/EntryNames.h"

#include <unordered_set>

namespace EntryNames {

namespace {

std::string prefixOf(ListKind kind, bool chinese)
{
    switch (kind) {
    case ListKind::Combos:
        return chinese ? "组合键" : "New Combo ";
    case ListKind::Macros:
        return chinese ? "宏定义" : "New Macro ";
    case ListKind::Emulations:
        return chinese ? "模拟击键" : "New Emu ";
    }
    return {};
}

} // namespace

std::string proposedName(const ActionList &list, ListKind kind, bool chinese)
{
    const std::string prefix = prefixOf(kind, chinese);
    const std::unordered_set<std::string> taken(list.names.begin(), list.names.end());
    // Among n + 1 numbers one is free.
    for (std::size_t n = 1;; ++n) {
        std::string name = prefix + std::to_string(n);
        if (!taken.count(name))
            return name;
    }
}

} // namespace EntryNames
