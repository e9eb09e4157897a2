#pragma once
#include <windows.h>

#include <string>

// Writes what a window shows on the screen (its children included) to a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::wstring& path);
