#pragma once
// The rich-text editor's ruler bar: a strip above the text marked in inches or
// centimetres, as the machine's measurement setting says, counted from the text's left
// edge, its paper ending at the right margin, which a mark below the strip shows.
//
//   0 |''''|''''1''''|''''|''''2 ...   paper (window colour) up to the margin,
//                            ^         button face beyond it and around it
#include <windows.h>

namespace vk::hosted {

enum class RulerUnit { Inch, Centimetre };

// The unit of the machine's measurement setting (LOCALE_IMEASURE: 0 metric, 1 U.S.).
RulerUnit MachineRulerUnit();

// The strip's height in pixels.
int RulerHeight();

// Draws the ruler over `area` of dc: the unit's numbers from `origin` (the x of the
// text's left edge), a short tick every eighth of an inch or quarter of a centimetre and
// a longer one at each half, and the right margin's mark at `marginX`.
void DrawRuler(HDC dc, const RECT& area, int origin, int marginX, RulerUnit unit);

}  // namespace vk::hosted
