#include "runtime/ole_color.h"

namespace vk {

COLORREF OleColorToRgb(OleColor color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

}  // namespace vk
