#pragma once

// The primary screen as the window scale factor sees it. The factor counts device pixels, as
// the faces are meant for the physical screen; Qt lays windows out in logical pixels, each of
// which covers the screen's device pixel ratio.
namespace ScreenScale {

// Device pixels per logical pixel of the primary screen; 1 without a screen.
double primaryPixelRatio();
// The scale factor for the primary screen's height in device pixels (1080 without a screen).
float primaryScaleFactor();

} // namespace ScreenScale
