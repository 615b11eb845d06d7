#pragma once

#include "model/LightSettings.h"

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// What a lighting dialog asks of the colour chooser.
struct ColourRequest {
    QWidget *parent = nullptr;
    LightColour initial;
    QString title;
    bool chinese = false;
};

// The platform's colour chooser, opened fully (with its custom colour part) on a given
// colour, in the program's dark look and language.
class ColourChooser {
public:
    // Asks for a colour; empty when the user cancelled. Tests answer in its place.
    using Choice = std::function<std::optional<LightColour>(const ColourRequest &request)>;

    static std::optional<LightColour> choose(const ColourRequest &request);

    // A light colour as drawn: only the low 8 bits of each part count.
    static QColor toQColor(const LightColour &colour);
    static LightColour fromQColor(const QColor &colour);
};
