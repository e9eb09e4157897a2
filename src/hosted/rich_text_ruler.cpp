#include "hosted/rich_text_ruler.h"

#include <algorithm>
#include <string>

#include "runtime/select_guard.h"
#include "runtime/shared_font.h"
#include "runtime/twips.h"

namespace vk::hosted {
namespace {

// At 96 dpi: the strip, the paper inside it (3 pixels in from the top, the mark's
// room below) and the ticks, which rise from the paper's bottom edge.
constexpr int kHeight = 24, kPaperTop = 3, kMarkRoom = 7, kShortTick = 2, kHalfTick = 4, kMarkHalfWidth = 4;

int Scaled(int pixels) { return MulDiv(pixels, 1440, static_cast<int>(TwipsPerPixel() * 96)); }

void Fill(HDC dc, const RECT& r, int colour) { FillRect(dc, &r, GetSysColorBrush(colour)); }

}  // namespace

RulerUnit MachineRulerUnit() {
  wchar_t measure[4] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, 4);
  return measure[0] == L'0' ? RulerUnit::Centimetre : RulerUnit::Inch;
}

int RulerHeight() { return Scaled(kHeight); }

void DrawRuler(HDC dc, const RECT& area, int origin, int marginX, RulerUnit unit) {
  Fill(dc, area, COLOR_BTNFACE);
  const RECT paper{std::max<LONG>(area.left, origin), area.top + Scaled(kPaperTop),
                   std::min<LONG>(area.right, marginX), area.bottom - Scaled(kMarkRoom)};
  if (paper.right > paper.left) Fill(dc, paper, COLOR_WINDOW);

  // 1440 twips to the inch, 1440 / 2.54 to the centimetre.
  const double unitTwips = unit == RulerUnit::Inch ? 1440.0 : 1440.0 / 2.54;
  const int steps = unit == RulerUnit::Inch ? 8 : 4;
  const double stepPixels = unitTwips / TwipsPerPixel() / steps;
  FontDescription small;
  small.name = L"Arial";
  small.size = 7;
  SelectGuard font(dc, SharedFont(small));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
  for (int step = 1;; ++step) {
    const int x = origin + static_cast<int>(step * stepPixels + 0.5);
    if (x >= area.right || x >= paper.right) break;
    if (step % steps == 0) {
      const std::wstring number = std::to_wstring(step / steps);
      RECT box{x - 20, paper.top, x + 20, paper.bottom};
      DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      continue;
    }
    const int length = Scaled(step % (steps / 2) == 0 ? kHalfTick : kShortTick);
    const RECT tick{x, paper.bottom - 1 - length, x + 1, paper.bottom - 1};
    FillRect(dc, &tick, ink);
  }

  // The right margin: a small triangle under the paper's end, pointing up at it.
  const int top = paper.bottom + 1, half = Scaled(kMarkHalfWidth);
  for (int row = 0; row < half + 1 && top + row < area.bottom; ++row) {
    const RECT line{marginX - row, top + row, marginX + row + 1, top + row + 1};
    FillRect(dc, &line, ink);
  }
}

}  // namespace vk::hosted
