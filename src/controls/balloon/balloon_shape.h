#pragma once
// Geometry and blending of the balloon tooltip, kept apart from its window so that
// placement, outline and the opacity mix can be checked on their own.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace vk::controls {

inline constexpr int kStemHeight = 17;

enum class BalloonStyle : long { Standard = 0, Balloon = 1 };

// Where the balloon goes for a cursor position: the body's top-left, and the stem's
// offsets (+17: stem on the left / on top; -17: right / below; 0 without a stem).
struct BalloonPlacement {
  int left = 0, top = 0;
  int stemX = 0, stemY = 0;
  // The window's rectangle: the body plus the stem's rows above or below it.
  RECT WindowRect(int width, int height) const;
};

// Body of width x height beside a cursor on a screen of screenWidth x screenHeight:
// above and right of the cursor when there is room, else left and/or below.
BalloonPlacement PlaceBalloon(POINT cursor, int width, int height, int screenWidth,
                              int screenHeight, BalloonStyle style);

// The window's outline in window coordinates (the window is height + |stemY| high):
// a rectangle for Standard; a body with cut corners and a stem for Balloon.
HRGN BuildBalloonRegion(int width, int height, const BalloonPlacement& place, BalloonStyle style);

// Mixes the balloon's pixels over the background's (both 32-bit BGRX, same size) at
// alpha percent (0 background only .. 100 balloon only); each channel is the sum of two
// separately rounded shares (halves to even), saturated at 255. The fourth byte stays.
void BlendPixels(std::vector<std::uint32_t>& balloon, const std::vector<std::uint32_t>& background,
                 int alpha);

// v * percent / 100 rounded to the nearest integer, halves to even.
int ScaleByPercent(int v, int percent);

}  // namespace vk::controls
