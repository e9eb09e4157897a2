#include "runtime/window_picture.h"

#include <vector>

#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"

namespace vk {

bool SaveBitmapPicture(HBITMAP bitmap, const std::wstring& path) {
  BITMAP shape{};
  if (!bitmap || !GetObjectW(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight == 0) {
    return false;
  }
  const int width = shape.bmWidth;
  const int height = shape.bmHeight < 0 ? -shape.bmHeight : shape.bmHeight;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as BMP files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file &&
                  WriteFile(out, &info, sizeof info, &written, nullptr) && written == sizeof info &&
                  WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
                  written == pixels.size();
  return CloseHandle(out) && ok;
}

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  // Copied from the screen: the picture is what the user sees, frame and children
  // included, however each of them paints.
  HDC screen = GetDC(nullptr);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, width, height));
  {
    MemoryDc memory(CreateCompatibleDC(screen));
    SelectGuard copy(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  return SaveBitmapPicture(bitmap.get(), path);
}

}  // namespace vk
