#pragma once
// Colour-keyed picture transfer for the status bar's panel icons (and any host):
// copies an area of a picture (a bitmap, or an icon drawn at the area's size) onto
// a device context with one colour left transparent, optionally in greys.
//
// Always composited with a mask (the key taken before greying), which gives the
// same pixels as a device's own transparent copy and works on every device.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

namespace vk::controls {

void TransBltEx(HDC hDestDC, long X, long Y, long nWidth, long nHeight, IPicture* hSrcImg, long XSrc,
                long YSrc, long TransColor, bool Disabled);

// Copies (0, 0, width, height) of source to (0, 0) of dest in greys: each pixel
// becomes the grey nearest to it (source and dest may be the same DC).
void GrayBlt(HDC dest, HDC source, long width, long height);

}  // namespace vk::controls
