#pragma once
// Twips, the unit every screen measures in: 1440 to the inch, so 15 to a pixel on
// a 96-dpi display. Positions are kept in twips as doubles and turned into pixels
// only at the Win32 boundary, here and nowhere else.
#include <windows.h>

namespace vk {

inline constexpr double kTwipsPerInch = 1440.0;

// Twips per pixel of the screen (15 at 96 dpi); read once per process.
double TwipsPerPixel();

// Rounded to the nearest pixel.
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

}  // namespace vk
