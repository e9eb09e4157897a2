#include "controls/balloon/balloon_shape.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "base/rounding.h"
#include "runtime/gdi_object.h"

namespace vk::controls {

RECT BalloonPlacement::WindowRect(int width, int height) const {
  // The body's top-left is (left, top); the window begins at the stem's side.
  int x = left - stemX;
  int y = top + stemY;
  return RECT{x, y, x + width, y + height + std::abs(stemY)};
}

BalloonPlacement PlaceBalloon(POINT cursor, int width, int height, int screenWidth,
                              int screenHeight, BalloonStyle style) {
  BalloonPlacement p;
  if (cursor.x + width > screenWidth) {
    p.left = cursor.x - width;
    p.stemX = -kStemHeight;
  } else {
    p.left = cursor.x + 1;
    p.stemX = kStemHeight;
  }
  if (cursor.y + height > screenHeight || cursor.y - height - 20 >= 0) {
    p.top = cursor.y - height;
    p.stemY = -kStemHeight;
  } else {
    p.top = cursor.y + 1;
    p.stemY = kStemHeight;
  }
  if (style == BalloonStyle::Standard) p.stemX = p.stemY = 0;
  return p;
}

namespace {

// Subtracts rectangles from a region; right and bottom are inclusive here, as the
// outline is described pixel by pixel.
class Cutter {
 public:
  explicit Cutter(HRGN region) : region_(region) {}
  void Cut(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    GdiObject<HRGN> piece(CreateRectRgn(left, top, right + 1, bottom + 1));
    CombineRgn(region_, region_, piece.get(), RGN_DIFF);
  }

 private:
  HRGN region_;
};

}  // namespace

HRGN BuildBalloonRegion(int width, int height, const BalloonPlacement& place,
                        BalloonStyle style) {
  const int fullHeight = height + std::abs(place.stemY);
  HRGN region = CreateRectRgn(0, 0, width, fullHeight);
  if (style == BalloonStyle::Standard || place.stemY == 0) return region;

  const int W = width;
  const bool stemOnTop = place.stemY > 0;
  const bool stemLeft = place.stemX > 0;
  const int zoneTop = stemOnTop ? 0 : height;
  const int zoneBottom = zoneTop + kStemHeight - 1;
  const int T = stemOnTop ? kStemHeight : 0;  // first row of the body
  const int E = stemOnTop ? fullHeight : height;  // row after its last
  Cutter c(region);

  // The stem zone beside the stem, then its sloping edge row by row.
  if (stemLeft) {
    c.Cut(0, zoneTop, 17, zoneBottom);
    c.Cut(35, zoneTop, W - 1, zoneBottom);
  } else {
    c.Cut(W - 17, zoneTop, W - 1, zoneBottom);
    c.Cut(0, zoneTop, W - 36, zoneBottom);
  }
  for (int i = 0; i < kStemHeight; ++i) {
    int row = stemOnTop ? i : fullHeight - 1 - i;
    if (stemLeft && i + 19 <= 34) c.Cut(i + 19, row, 34, row);
    if (!stemLeft && W - 19 - i >= W - 35) c.Cut(W - 35, row, W - 19 - i, row);
  }

  // Rounded corners.
  c.Cut(0, T, 4, T);
  c.Cut(0, T + 1, 3, T + 1);
  c.Cut(0, T + 2, 1, T + 2);
  c.Cut(0, T + 3, 0, T + 4);
  c.Cut(0, E - 5, 0, E - 1);
  c.Cut(1, E - 3, 1, E - 1);
  c.Cut(2, E - 2, 2, E - 1);
  c.Cut(3, E - 1, 4, E - 1);
  c.Cut(W - 5, T, W - 1, T);
  c.Cut(W - 3, T + 1, W - 1, T + 1);
  c.Cut(W - 2, T + 2, W - 1, T + 2);
  c.Cut(W - 1, T + 3, W - 1, T + 4);
  c.Cut(W - 1, E - 5, W - 1, E - 1);
  c.Cut(W - 2, E - 3, W - 2, E - 1);
  c.Cut(W - 3, E - 2, W - 3, E - 1);
  c.Cut(W - 5, E - 1, W - 4, E - 1);
  return region;
}

int ScaleByPercent(int v, int percent) {
  // An exact half of v * percent / 100 is exact in a double too.
  return static_cast<int>(RoundHalfEven(v * percent / 100.0));
}

namespace {

// scale[v][p] = v * p / 100, built once: the blend does no multiplication per pixel.
const std::array<std::array<std::uint8_t, 101>, 256>& ScaleTable() {
  static const auto table = [] {
    std::array<std::array<std::uint8_t, 101>, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int p = 0; p <= 100; ++p) t[v][p] = static_cast<std::uint8_t>(ScaleByPercent(v, p));
    return t;
  }();
  return table;
}

}  // namespace

void BlendPixels(std::vector<std::uint32_t>& balloon, const std::vector<std::uint32_t>& background,
                 int alpha) {
  alpha = std::clamp(alpha, 0, 100);
  // Each channel's two shares for this opacity, looked up once per value.
  const auto& scale = ScaleTable();
  std::array<std::uint16_t, 256> fore{}, back{};
  for (int v = 0; v < 256; ++v) {
    fore[v] = scale[v][alpha];
    back[v] = scale[v][100 - alpha];
  }
  const size_t n = std::min(balloon.size(), background.size());
  for (size_t i = 0; i < n; ++i) {
    const std::uint32_t f = balloon[i], b = background[i];
    std::uint32_t mixed = f & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      unsigned sum = fore[(f >> shift) & 0xFF] + back[(b >> shift) & 0xFF];
      mixed |= (sum > 255 ? 255u : sum) << shift;
    }
    balloon[i] = mixed;
  }
}

}  // namespace vk::controls
