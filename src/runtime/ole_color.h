#pragma once
// OLE colours as the controls store them: an RGB value (red in the low byte), or,
// with the high bit set, a system colour by its index (&H8000000F the button face).
#include <windows.h>

#include <cstdint>

namespace vk {

using OleColor = std::uint32_t;

inline constexpr OleColor kButtonFace = 0x8000000F;
inline constexpr OleColor kButtonText = 0x80000012;

// The RGB value to draw with; a system colour is looked up now.
COLORREF OleColorToRgb(OleColor color);

}  // namespace vk
