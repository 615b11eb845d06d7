#pragma once

#include "layout/EntryRole.h"

#include <string>

class AppState;
struct DrawnButton;

// The main window's entries to the keyboard and screen readers, where the frame's defaults do
// not fit: the layer switch stays pressed while the Fn layer is shown and is named by the
// label beside it, and every key tells what it does on the layer shown.
namespace MainWindowAccess {

EntryRole role(const DrawnButton &entry, EntryRole standard);

// The label whose caption names a button it does not lie on, or 0.
int nameLabel(int id);

// "Multimedia: PlayPause": the category of key 1..108 on the layer, and what it does.
std::string keyDescription(const AppState &state, int key, int layer);

} // namespace MainWindowAccess
