#pragma once
// A 32-bit top-down DIB selected into a memory DC, with its pixels readable as
// RGB values (red in the low byte).
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/colour_bitmap.h"
#include "runtime/window_picture.h"

namespace vk::test {

class MemoryDc {
 public:
  MemoryDc(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    bitmap_ = CreateColourBitmap(dc_, width, height, &bits);
    bits_ = static_cast<uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryDc() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC dc() const { return dc_; }
  // The raw pixels, row by row from the top (blue in the low byte); GdiFlush first.
  const uint32_t* bits() const { return bits_; }
  long Pixel(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[size_t(y) * size_t(width_) + size_t(x)];
    return long((p >> 16 & 0xFF) | (p & 0xFF00) | (p & 0xFF) << 16);
  }
  void Fill(long rgb) {
    HBRUSH b = CreateSolidBrush(COLORREF(rgb));
    RECT r{0, 0, width_, height_};
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  // Writes the picture for a reviewer.
  bool Save(const std::wstring& path) {
    SelectObject(dc_, previous_);
    const bool ok = SaveBitmapPicture(bitmap_, path);
    SelectObject(dc_, bitmap_);
    return ok;
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

}  // namespace vk::test
