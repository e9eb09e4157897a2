#pragma once
// Test pictures written through the imaging component: a page whose top half is dark
// grey (0x30) and bottom half light grey (0xD0), in any of the five formats.
#include <windows.h>

#include <string>

namespace vk::test {

enum class ImageFormat { Bmp, Gif, Jpg, Png, Tif };

const wchar_t* ExtensionOf(ImageFormat format);
// Writes the page; returns false when the encoder failed.
bool WriteSamplePage(const std::wstring& path, ImageFormat format, int width, int height);
// A scratch folder under the system's temporary folder, emptied and made afresh.
std::wstring FreshFolder(const std::wstring& name);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);

// The colour, and the grey level, at a point of what a window paints (through
// WM_PRINTCLIENT).
COLORREF PaintedPixel(HWND window, int x, int y);
int GreyAt(HWND window, int x, int y);

}  // namespace vk::test
