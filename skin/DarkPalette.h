#pragma once

#include <QPalette>

class QWidget;

// The program's graphite and orange as a widget palette, for the platform's own windows that
// open over the drawn ones (the colour chooser, message boxes): dark like the faces, so that
// no white window flashes over a dark program.
namespace DarkPalette {

QPalette palette();
// Gives `window` and everything in it the dark palette.
void apply(QWidget *window);

} // namespace DarkPalette
