// The status bar's drawing: scheme selection, background, grip, and the panels'
// layout and contents. Every pass recomputes the scheme and every panel's Rect
// from the model; nothing is cached between passes but the retained image.
#include <cmath>

#include "base/rounding.h"
#include "controls/status_bar/status_bar_colors.h"
#include "controls/status_bar/status_bar_error.h"
#include "controls/status_bar/trans_blt.h"
#include "controls/status_bar/vk_status_bar.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"

namespace vk::controls {

namespace {

constexpr long kWhite = 0xFFFFFF;
constexpr int kIconSlot = 18;
constexpr double kBarHeightTwips = 360;

HFONT FontHandle(const Font& font) {
  HFONT handle = nullptr;
  if (font) font->get_hFont(&handle);
  return handle;
}

// A child window's place in its parent's client area.
RECT WindowPlace(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
int WindowWidth(HWND w) { const RECT r = WindowPlace(w); return r.right - r.left; }
int WindowHeight(HWND w) { const RECT r = WindowPlace(w); return r.bottom - r.top; }
int WindowTop(HWND w) { return WindowPlace(w).top; }

}  // namespace

void VkStatusBar::SelectScheme() {
  const SchemeChoice choice = controls::SelectScheme(theme_, gripShape_);
  scheme_ = choice.scheme;
  gripShape_ = choice.gripShape;
}

void VkStatusBar::Refresh() {
  Rethrown(L"Refresh", [&] {
    if (!hwnd()) return;
    SelectScheme();
    // Kept with the size: the first size of the window can arrive before it is ours.
    const int w = clientWidth(), h = clientHeight();
    grip_ = RECT{w - 15, h - 15, w, h};
    if (ambient().userMode) {
      // The image stays in the retained copy and shows again without a paint request.
      setRetained(true);
      PaintAll(surface());
      Present();
    } else {
      setRetained(false);
      UserControl::Refresh();
    }
  });
}

void VkStatusBar::Paint(HDC dc, const RECT& /*client*/) {
  // Design hosts paint on request; run-time painting goes through the retained copy.
  Rethrown(L"UserControl_Paint", [&] {
    SelectScheme();
    PaintAll(dc);
  });
}

void VkStatusBar::OnShow() {
  Rethrown(L"UserControl_Show", [&] { Refresh(); });
}

void VkStatusBar::OnResize() {
  Rethrown(L"UserControl_Resize", [&] {
    if (std::abs(height() - kBarHeightTwips) > 0.5 && !resizing_) {
      resizing_ = true;
      try {
        setHeight(kBarHeightTwips);
      } catch (...) {
        resizing_ = false;
        throw;
      }
      resizing_ = false;
    }
    Refresh();
  });
}

void VkStatusBar::PaintAll(HDC dc) {
  PaintGradients(dc);
  PaintGrip(dc);
  PaintPanels(dc);
}

void VkStatusBar::Clear() {
  Rethrown(L"Clear", [&] {
    if (HDC dc = surface()) ClearOn(dc);
    if (retained()) Present();
  });
}

void VkStatusBar::ClearOn(HDC dc) {
  Rethrown(L"Clear", [&] {
    GdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(TranslateColor(backColor_))));
    RECT all{0, 0, clientWidth(), clientHeight()};
    FillRect(dc, &all, brush.get());
  });
}

void VkStatusBar::APILine(HDC dc, long x1, long y1, long x2, long y2, long colour) {
  Rethrown(L"APILine", [&] {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(TranslateColor(colour))));
    SelectGuard keep(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  });
}

void VkStatusBar::PaintGradients(HDC dc) {
  Rethrown(L"PaintGradients", [&] {
    if (scheme_ == kClassic) {
      ClearOn(dc);
      return;
    }
    const SchemeColours c = ColoursFor(scheme_, backColor_);
    const int w = clientWidth(), h = clientHeight();
    ClearOn(dc);
    for (int y = 0; y <= h; ++y) APILine(dc, 0, y, w, y, c.BlendRow(y, h));
    const long rows[4] = {kWhite, c.edge, ShiftColor(c.base, -37), ShiftColor(c.base, -9)};
    for (int r = 0; r < 4; ++r) APILine(dc, 0, r, w, r, rows[r]);
    for (int i = 0; i <= 5; ++i) APILine(dc, 0, h - 5 + i, w, h - 5 + i, c.BottomRow(i, h));
  });
}

void VkStatusBar::PaintGrip(HDC dc) {
  Rethrown(L"PaintGrip", [&] {
    const int x0 = clientWidth() - 15, y0 = clientHeight() - 16;
    const SchemeColours c = ColoursFor(scheme_, backColor_);
    if (gripShape_ == 1 && scheme_ != kClassic) {
      static constexpr POINT kDots[] = {{12, 4}, {12, 8}, {12, 12}, {8, 8}, {8, 12}, {4, 12}};
      auto square = [&](int x, int y, long colour) {
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx) SetPixelV(dc, x + dx, y + dy, static_cast<COLORREF>(colour));
      };
      for (const POINT& d : kDots) square(x0 + d.x, y0 + d.y, kWhite);
      for (const POINT& d : kDots) square(x0 + d.x - 1, y0 + d.y - 1, c.separator);
    } else if (gripShape_ == 2 && scheme_ == kClassic) {
      struct Line { int x1, y1, x2, y2; bool light; };
      static constexpr Line kLines[] = {
          {12, 13, 14, 11, true},  {9, 13, 14, 8, true},   {6, 13, 14, 5, true},   {3, 13, 14, 2, true},
          {13, 14, 14, 13, false}, {12, 14, 14, 12, false}, {10, 14, 14, 10, false}, {9, 14, 14, 9, false},
          {7, 14, 14, 7, false},   {6, 14, 14, 6, false},   {4, 14, 14, 4, false},   {3, 14, 14, 3, false}};
      for (const Line& l : kLines)
        APILine(dc, x0 + l.x1, y0 + l.y1, x0 + l.x2, y0 + l.y2, l.light ? kWhite : c.classicShadow);
    }
  });
}

void VkStatusBar::PaintPanels(HDC dc) {
  Rethrown(L"PaintPanels", [&] {
    const int W = clientWidth(), H = clientHeight();
    const int G = scheme_ == kClassic ? 16 : 18;
    const SchemeColours colours = ColoursFor(scheme_, backColor_);
    // The DC's text colour, font and background mode come back however the pass ends.
    struct TextState {
      HDC dc;
      COLORREF colour = GetTextColor(dc);
      HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
      int mode = SetBkMode(dc, TRANSPARENT);
      ~TextState() {
        SetBkMode(dc, mode);
        SetTextColor(dc, colour);
        SelectObject(dc, font);
      }
    } saved{dc};
    long x = 0;
    for (long i = 1; i <= panelCount_ && i <= long(panels_.size()); ++i) {
      StatusBarPanel& p = panels_[size_t(i - 1)];
      SetTextColor(dc, static_cast<COLORREF>(TranslateColor(p.ForeColor)));
      if (HFONT f = FontHandle(p.Font)) SelectObject(dc, f);
      RECT& r = p.Rect;
      r.left = x, r.top = 5, r.bottom = H - 5;
      const int iconExtra = p.Icon ? kIconSlot : 0;
      if (p.AutoSize) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, p.Text.c_str(), int(p.Text.size()), &extent);
        r.right = extent.cx + x + 8 + iconExtra;
        x = p.Text.empty() ? x + 20 : r.right;
      } else {
        r.right = x + p.Width + iconExtra;
        x = r.right;
      }
      if (x >= W - G) r.right = x = W - G;

      if (scheme_ == kClassic) {
        RECT edge{r.left, 2, r.right, H - 2};
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
        r = RECT{r.left + 5, 5, r.right - 5, H - 5};
      } else {
        APILine(dc, x, r.top, x, r.bottom, colours.separator);
        APILine(dc, x + 1, r.top, x + 1, r.bottom, kWhite);
        r.left += 4, r.right -= 4;
      }

      bool drawText = false;
      if (p.Control) {
        PlaceBoundControl(p);
      } else if (!p.Icon) {
        drawText = r.left + 2 <= W - G;
      } else {
        if (i == 1) OffsetRect(&r, -2, 0);
        if (r.left + kIconSlot <= W - G) {
          TransBltEx(dc, r.left, H / 2 - 8, 16, 16, p.Icon.get(), 0, 0, TranslateColor(backColor_),
                     p.IconState != 0);
          r.left += kIconSlot;
          if (x >= W - G) r.right = p.TextAlign == kAlignLeft ? W - G : W - G - 2;
        }
        const int reach = p.TextAlign == kAlignCentre ? 9 : 18;
        drawText = r.left + reach <= W - G || r.right - r.left > 16;
      }
      if (drawText) {
        RECT text = r;
        DrawTextW(dc, p.Text.c_str(), -1, &text, UINT(p.TextAlign));
      }
    }
  });
}

void VkStatusBar::PlaceBoundControl(StatusBarPanel& p) {
  // Errors while placing are ignored: the control just stays where it was.
  try {
    HWND c = p.Control;
    const RECT& r = p.Rect;
    constexpr int kHeight = 16;
    if (p.SizeMethod == 0) {
      SetWindowPos(c, HWND_TOP, r.left, r.top, WindowWidth(c), kHeight, 0);
      return;
    }
    const bool classic = scheme_ == kClassic;
    const int left = classic ? r.left - 4 : r.left;
    const int width = classic ? r.right - r.left + 9 : r.right - r.left;
    SetWindowPos(c, nullptr, left, WindowTop(c), width, WindowHeight(c), SWP_NOZORDER);
    const bool refused = WindowWidth(c) != width;
    const double barTwips = PixelsToTwips(clientHeight());
    SetWindowPos(c, nullptr, left, WindowTop(c), WindowWidth(c), kHeight, SWP_NOZORDER);
    const long controlTwips = RoundHalfEven(PixelsToTwips(WindowHeight(c)));
    const long topTwips = long(barTwips) / 2 - controlTwips / 2;
    const int top = TwipsToPixels(double(topTwips));
    const bool hide = refused || PixelsToTwips(WindowWidth(c)) <= 30;
    SetWindowPos(c, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | (hide ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
  } catch (...) {
  }
}

}  // namespace vk::controls
