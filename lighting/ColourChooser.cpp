#include "lighting/ColourChooser.h"

#include "skin/DarkPalette.h"
#include "skin/QtTranslation.h"

#include <QColorDialog>

std::optional<LightColour> ColourChooser::choose(const ColourRequest &request)
{
    // Qt's own texts of the chooser in the window's language, where Qt's translations are
    // installed.
    const QtTranslation::Scope texts(request.chinese ? "zh-CN" : "en-US");
    QColorDialog dialog(request.parent);
    // Qt's own dialog: a desktop's native one would not take the program's look.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    DarkPalette::apply(&dialog);
    dialog.setCurrentColor(toQColor(request.initial));
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromQColor(dialog.selectedColor());
}

QColor ColourChooser::toQColor(const LightColour &colour)
{
    return QColor(colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF);
}

LightColour ColourChooser::fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}
