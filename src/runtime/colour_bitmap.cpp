#include "runtime/colour_bitmap.h"

namespace vk {

HBITMAP CreateColourBitmap(HDC like, int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(like, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits) *bits = pixels;
  return bitmap;
}

}  // namespace vk
