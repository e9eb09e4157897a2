#include "runtime/gradient.h"

namespace vk {
namespace {

TRIVERTEX Corner(LONG x, LONG y, COLORREF colour) {
  return {x, y, static_cast<COLOR16>(GetRValue(colour) << 8), static_cast<COLOR16>(GetGValue(colour) << 8),
          static_cast<COLOR16>(GetBValue(colour) << 8), 0};
}

}  // namespace

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  TRIVERTEX corners[2] = {Corner(rect.left, rect.top, top), Corner(rect.right, rect.bottom, bottom)};
  GRADIENT_RECT span{0, 1};
  GradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

}  // namespace vk
