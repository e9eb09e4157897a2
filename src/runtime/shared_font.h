#pragma once
// Fonts by face name, size in points and weight, made once per process and shared by
// every window that shows text in them (a form's ambient font, a bold caption).
#include <windows.h>

#include <string>

namespace vk {

// The font for these settings; callers select it or hand it to a window and never
// delete it (the fonts go when the module is unloaded).
HFONT SharedFont(const std::wstring& faceName, double points, bool bold);

}  // namespace vk
