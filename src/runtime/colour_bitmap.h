#pragma once
// A 32-bit top-down colour bitmap whose pixels can be read and written directly
// (blue in the low byte, as BI_RGB lays them out).
#include <windows.h>

namespace vk {

// A DIB section of width x height pixels for the device `like` (may be null for the
// screen). Its pixels go to *bits when bits is not null. Null on failure; the
// caller deletes the bitmap.
HBITMAP CreateColourBitmap(HDC like, int width, int height, void** bits = nullptr);

}  // namespace vk
