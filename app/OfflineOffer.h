#pragma once

class QWidget;
struct DialogContext;

// "Keyboard is not connected!" when start-up found none, with the offer to work offline: one
// button per model, and one that ends the program.
namespace OfflineOffer {

// The chosen variant 1..4, or 0 to end.
int choose(const DialogContext &context, QWidget *parent = nullptr);

} // namespace OfflineOffer
