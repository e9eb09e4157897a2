#pragma once
// GDI fonts made once per process and shared by every window that shows text in them
// (a form's ambient font, a bold caption), so a control need not own one.
#include <windows.h>

#include "runtime/font.h"

namespace vk {

// The font for this description; callers select it or hand it to a window and never
// delete it (the fonts go when the module is unloaded).
HFONT SharedFont(const FontDescription& wanted);

}  // namespace vk
