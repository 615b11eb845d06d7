#include "skin/QtWindowLook.h"

#include "layout/ScaleFactor.h"
#include "skin/DarkPalette.h"
#include "skin/FontTable.h"
#include "skin/ScreenScale.h"

#include <QWidget>

namespace QtWindowLook {

QFont font(const DialogContext &context)
{
    const float factor
        = context.scaleFactor > 0.0f ? context.scaleFactor : ScreenScale::primaryScaleFactor();
    const float scale = logicalScale(factor, ScreenScale::primaryPixelRatio());
    return context.fonts.font(scaledPixels(FontSize, scale));
}

void apply(QWidget *window, const DialogContext &context)
{
    if (!window)
        return;
    DarkPalette::apply(window);
    window->setFont(font(context));
}

} // namespace QtWindowLook
