#pragma once

// The window scale factor for a primary screen height in device pixels: 1.0 below 1080, then
// the next half step from 1.5 up to 5.0 at or above height / 1080, and the bare ratio beyond 5.
// A window shows each base pixel of its face as factor x factor device pixels.
float computeScaleFactor(int screenHeight);

// The factor in the toolkit's logical pixels, of which each covers `pixelRatio` device pixels:
// sizes given to the toolkit in these come out as base x factor on the screen.
float logicalScale(float scaleFactor, double pixelRatio);
// A screen length in logical pixels as device pixels, rounded.
int devicePixels(int logical, double pixelRatio);

// value x scale and value / scale, computed in floating point and truncated toward zero.
int scaledPixels(int value, float scale);
int unscaledPixels(int value, float scale);

// Where a face of base size (width, height) sits, centred on a screen, at a scale.
struct FramePlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
FramePlacement centredPlacement(int baseWidth, int baseHeight, int screenWidth, int screenHeight,
                                float scale);
