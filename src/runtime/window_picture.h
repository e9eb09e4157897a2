#pragma once
// Pictures for a reviewer to look at: what a window shows, or a bitmap drawn off the
// screen, written as 24-bit BMP files (bottom-up rows, no palette).
#include <windows.h>

#include <string>

namespace vk {

// What the window shows on the screen, its frame and children included. The window
// must be visible and not covered. False when it has no size or the file cannot be
// written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

// A bitmap that is not selected into any DC (a DIB section or a compatible bitmap).
bool SaveBitmapPicture(HBITMAP bitmap, const std::wstring& path);

}  // namespace vk
