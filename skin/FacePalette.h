#pragma once

#include <QColor>

// The colours of every generated face: a dark graphite body, one orange accent (the colour
// of the text fields' text), light legends.
namespace FacePalette {

inline const QColor Edge("#07080a");
inline const QColor BodyTop("#1d2025");
inline const QColor BodyBottom("#111316");
inline const QColor BodyRim("#2e333b");
inline const QColor HeaderTop("#23272d");
inline const QColor HeaderBottom("#1a1d22");
inline const QColor Divider("#2a2f37");
inline const QColor Well("#0c0d10");
inline const QColor WellRim("#262a31");
inline const QColor FieldDark("#141414"); // the text fields' own background
inline const QColor Card("#15171b");      // the main window's model card
inline const QColor Accent("#ff6f00");
inline const QColor AccentLight("#ff9a3c");
inline const QColor AccentDark("#b34e00");
inline const QColor Text("#e8eaed");
inline const QColor TextDim("#8b919b");
inline const QColor TextFaint("#565c66");
inline const QColor ButtonTop("#30353d");
inline const QColor ButtonBottom("#262a31");
inline const QColor ButtonRim("#3b414b");
inline const QColor HoverTop("#3d434d");
inline const QColor HoverBottom("#323741");
inline const QColor PressedTop("#17191d");
inline const QColor PressedBottom("#1e2126");
inline const QColor Danger("#d9463e");

} // namespace FacePalette
