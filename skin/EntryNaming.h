#pragma once

#include "layout/ButtonTable.h"

#include <string>

// Names of drawn entries for keyboard users and screen readers, from what the table holds: the
// text a user sees on a button is often a label of its own lying on it, image buttons carry
// their caption undrawn, and keys carry their name as the tooltip.
namespace EntryNaming {

// A language's text without adding the language to the entry; empty when it has none.
const std::string &textOf(const DrawnButton::Texts &texts, const std::string &language);

// The texts tables hold where an entry has no real tooltip.
bool isPlaceholder(const std::string &text);

// The label that shows a button's text: the first label shown with a caption drawn in this
// language whose centre lies on the button and which is not much larger than it (a heading
// over a group of buttons names none of them). The button's rectangle is in client pixels,
// `scale` of them per base pixel. -1 when no label fits.
int captionLabel(const ButtonTable &table, int button, const std::string &language, float scale,
                 const ButtonTable::EntryFilter &shown = {});

// What an entry is called: a label its caption; a key its name (its tooltip in this language,
// else in either, else its caption); another button the text drawn on it, else its caption,
// else a real tooltip. Empty when it has none of them.
std::string defaultName(const ButtonTable &table, int index, const std::string &language,
                        float scale, const ButtonTable::EntryFilter &shown = {});

} // namespace EntryNaming
