#pragma once

#include "skin/DialogContext.h"

#include <QFont>

class QWidget;

// The look of Qt's own windows that open over the drawn ones (message boxes, file dialogs):
// the dark palette, and the program's font at the windows' scale.
namespace QtWindowLook {

// Characters of their texts, in base pixels as the windows' captions.
constexpr int FontSize = 13;

// A scale factor of 0 (before the main window computed it) takes the primary screen's.
QFont font(const DialogContext &context);
// Gives `window` and everything in it the palette and the font.
void apply(QWidget *window, const DialogContext &context);

} // namespace QtWindowLook
