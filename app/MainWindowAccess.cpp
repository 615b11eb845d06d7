#include "app/MainWindowAccess.h"

#include "layout/DrawnButton.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyCatalogue.h"

namespace MainWindowAccess {

EntryRole role(const DrawnButton &entry, EntryRole standard)
{
    switch (entry.id) {
    case LayerButton:
    case KeyTestButton:
        return EntryRole::ToggleButton;
    case FnLayerLabel:
        return EntryRole::None; // the layer switch's name
    default:
        return standard;
    }
}

int nameLabel(int id)
{
    return id == LayerButton ? FnLayerLabel : 0;
}

std::string keyDescription(const AppState &state, int key, int layer)
{
    if (key < 1 || key > AppState::KeyCount || layer < 0 || layer > 1)
        return {};
    const int category = state.category[std::size_t(AppState::index(key, layer))];
    std::string text = KeyCatalogue::categoryName(category, state.chinese());
    const std::string summary = assignmentSummary(state, key, layer);
    if (!summary.empty())
        text += (text.empty() ? "" : ": ") + summary;
    return text;
}

} // namespace MainWindowAccess
