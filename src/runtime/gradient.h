#pragma once
// A rectangle filled with a vertical gradient, the two-tone look of the grids'
// styles, the frames and the tabs.
#include <windows.h>

namespace vk {

// From `top` at the rectangle's top edge to `bottom` at its bottom edge.
void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);

}  // namespace vk
