#pragma once
// The small pictures of the cataloguing screen, drawn in code so they look the same on
// every system: the thumbnails' state icons and failure mark, the strip's scroll
// arrows and the pickers' button face. Every picture is a new bitmap the caller owns
// (a picture box takes it over).
#include <windows.h>


namespace vk::capture {

enum class StatePicture { Loaded, Accepted, Catalogued, Unreadable };
// 19 x 19 pixels, the size of a thumbnail's state icon.
HBITMAP DrawStatePicture(StatePicture which);
// 17 x 17 pixels: a triangle pointing left or right.
HBITMAP DrawArrowPicture(bool right);
// 16 x 16 pixels: a raised button face with three dots.
HBITMAP DrawPickerPicture();

}  // namespace vk::capture
