#pragma once

// The window scale factor for a primary screen height: 1.0 below 1080 pixels, then the next
// half step from 1.5 up to 5.0 at or above height / 1080, and the bare ratio beyond 5.
float computeScaleFactor(int screenHeight);

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
