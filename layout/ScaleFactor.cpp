#include "layout/ScaleFactor.h"

#include <cmath>

float computeScaleFactor(int screenHeight)
{
    const float ratio = float(screenHeight) / 1080.0f;
    if (ratio < 1.0f)
        return 1.0f;
    for (float step = 1.5f; step <= 5.0f; step += 0.5f) {
        if (step >= ratio)
            return step;
    }
    return ratio;
}

float logicalScale(float scaleFactor, double pixelRatio)
{
    return pixelRatio > 0.0 ? float(double(scaleFactor) / pixelRatio) : scaleFactor;
}

int devicePixels(int logical, double pixelRatio)
{
    return pixelRatio > 0.0 ? int(std::lround(double(logical) * pixelRatio)) : logical;
}

int scaledPixels(int value, float scale)
{
    return int(double(value) * double(scale));
}

int unscaledPixels(int value, float scale)
{
    return scale > 0.0f ? int(double(value) / double(scale)) : value;
}

FramePlacement centredPlacement(int baseWidth, int baseHeight, int screenWidth, int screenHeight,
                                float scale)
{
    const double width = double(baseWidth) * double(scale);
    const double height = double(baseHeight) * double(scale);
    return {int((double(screenWidth) - width) * 0.5), int((double(screenHeight) - height) * 0.5),
            int(width), int(height)};
}
