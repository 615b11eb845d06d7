#include "skin/DarkPalette.h"

#include <QWidget>

namespace DarkPalette {

QPalette palette()
{
    // The faces' colours: body, wells, buttons, legends and the one accent.
    const QColor window("#1d2025");
    const QColor base("#141414");
    const QColor alternate("#23272d");
    const QColor button("#30353d");
    const QColor text("#e8eaed");
    const QColor dim("#8b919b");
    const QColor faint("#565c66");
    const QColor accent("#ff6f00");

    QPalette colours;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Window, window);
        colours.setColor(group, QPalette::WindowText, text);
        colours.setColor(group, QPalette::Base, base);
        colours.setColor(group, QPalette::AlternateBase, alternate);
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::PlaceholderText, dim);
        colours.setColor(group, QPalette::Button, button);
        colours.setColor(group, QPalette::ButtonText, text);
        colours.setColor(group, QPalette::BrightText, QColor("#ffffff"));
        colours.setColor(group, QPalette::Highlight, accent);
        colours.setColor(group, QPalette::HighlightedText, QColor("#1a0e04"));
        colours.setColor(group, QPalette::ToolTipBase, alternate);
        colours.setColor(group, QPalette::ToolTipText, text);
        colours.setColor(group, QPalette::Link, QColor("#ff9a3c"));
        colours.setColor(group, QPalette::LinkVisited, QColor("#b34e00"));
        // The bevels of buttons and frames.
        colours.setColor(group, QPalette::Light, QColor("#3b414b"));
        colours.setColor(group, QPalette::Midlight, QColor("#30353d"));
        colours.setColor(group, QPalette::Mid, QColor("#23272d"));
        colours.setColor(group, QPalette::Dark, QColor("#0c0d10"));
        colours.setColor(group, QPalette::Shadow, QColor("#07080a"));
    }
    colours.setColor(QPalette::Disabled, QPalette::Window, window);
    colours.setColor(QPalette::Disabled, QPalette::Base, window);
    colours.setColor(QPalette::Disabled, QPalette::Button, QColor("#262a31"));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, role, faint);
    colours.setColor(QPalette::Disabled, QPalette::Highlight, QColor("#3b414b"));
    colours.setColor(QPalette::Disabled, QPalette::HighlightedText, dim);
    return colours;
}

void apply(QWidget *window)
{
    if (!window)
        return;
    // Children take it from their window, those made later too.
    window->setPalette(palette());
}

} // namespace DarkPalette
