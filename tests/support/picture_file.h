#pragma once
// A picture written by SaveWindowPicture (24-bit, bottom-up BMP), read back for its
// pixels: a test checks what the file a reviewer looks at really shows.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vk::test {

class PictureFile {
 public:
  // The picture of `pictured` (its whole window rectangle) in the file at `path`.
  PictureFile(const std::wstring& path, HWND pictured) {
    GetWindowRect(pictured, &origin_);
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return;
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{};
    if (std::fread(&head, sizeof head, 1, file) == 1 && std::fread(&info, sizeof info, 1, file) == 1 &&
        head.bfType == 0x4D42 && info.biBitCount == 24 && info.biWidth > 0 && info.biHeight > 0) {
      width_ = info.biWidth;
      height_ = info.biHeight;
      stride_ = (width_ * 3 + 3) & ~3;
      bytes_.resize(size_t(stride_) * size_t(height_));
      std::fseek(file, long(head.bfOffBits), SEEK_SET);
      if (std::fread(bytes_.data(), 1, bytes_.size(), file) != bytes_.size()) bytes_.clear();
    }
    std::fclose(file);
  }

  bool valid() const { return !bytes_.empty(); }
  // The colour at a point of `window`'s client area; black outside the picture.
  COLORREF At(HWND window, int x, int y) const {
    POINT p{x, y};
    ClientToScreen(window, &p);
    const int px = p.x - origin_.left, py = p.y - origin_.top;
    if (!valid() || px < 0 || py < 0 || px >= width_ || py >= height_) return 0;
    const BYTE* bgr = &bytes_[size_t(height_ - 1 - py) * size_t(stride_) + size_t(px) * 3];
    return RGB(bgr[2], bgr[1], bgr[0]);
  }
  int GreyAt(HWND window, int x, int y) const {
    const COLORREF c = At(window, x, y);
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
  }
  // How many pixels of `window`'s client area have the colour.
  int Count(HWND window, COLORREF colour) const {
    RECT client{};
    GetClientRect(window, &client);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) count += At(window, x, y) == colour;
    return count;
  }

 private:
  RECT origin_{};
  int width_ = 0, height_ = 0, stride_ = 0;
  std::vector<BYTE> bytes_;
};

}  // namespace vk::test
