#include "runtime/twips.h"

#include <cmath>

namespace vk {

double TwipsPerPixel() {
  static const double perPixel = [] {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return kTwipsPerInch / (dpi > 0 ? dpi : 96);
  }();
  return perPixel;
}

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }

double PixelsToTwips(int pixels) { return pixels * TwipsPerPixel(); }

}  // namespace vk
