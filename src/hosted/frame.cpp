#include "hosted/frame.h"

#include <windowsx.h>

#include "base/vb_error.h"
#include "runtime/gdi_object.h"
#include "runtime/gradient.h"
#include "runtime/select_guard.h"
#include "runtime/shared_font.h"
#include "runtime/twips.h"

namespace vk::hosted {
namespace {

constexpr int kCaptionPixels = 20;

// Shift and Ctrl come with the message; Alt only from the keyboard state.
int ShiftState(WPARAM keys) {
  return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

void Frame::SetCaption(std::wstring caption) {
  caption_ = std::move(caption);
  InvalidateRect(outer_, nullptr, TRUE);
}

void Frame::SetColors(const FrameColors& colors) {
  colors_ = colors;
  InvalidateRect(outer_, nullptr, TRUE);
}

void Frame::SetTheme(int theme) {
  theme_ = theme;
  InvalidateRect(outer_, nullptr, TRUE);
}

void Frame::SetHeaderShown(bool shown) {
  header_ = shown;
  InvalidateRect(outer_, nullptr, TRUE);
}

void Frame::SetExpandSwitch(bool shown) {
  expandSwitch_ = shown;
  InvalidateRect(outer_, nullptr, TRUE);
}

double Frame::CaptionHeight() const { return PixelsToTwips(kCaptionPixels); }

RECT Frame::SwitchRect() const {
  RECT client{};
  GetClientRect(outer_, &client);
  return RECT{client.right - kCaptionPixels, 2, client.right - 4, kCaptionPixels - 2};
}

void Frame::SetExpandState(int state) {
  if (state != 0 && state != 1) Raise(err::InvalidPropertyValue, L"Frame.ExpandState");
  Toggle(state == 1);
}

void Frame::Toggle(bool expand) {
  if (expand == expanded_) return;
  if (!expand) fullHeight_ = height();
  expanded_ = expand;
  setHeight(expand ? fullHeight_ : CaptionHeight());
  InvalidateRect(outer_, nullptr, TRUE);
  (expand ? Expand : Collapse).Raise();
}

void Frame::Paint(HDC dc) {
  RECT client{};
  GetClientRect(outer_, &client);
  const int barBottom = header_ ? kCaptionPixels : 0;
  RECT bar{0, 0, client.right, barBottom};
  RECT body{0, barBottom, client.right, client.bottom};
  const COLORREF headerLight = OleColorToRgb(colors_.headerLight), headerDark = OleColorToRgb(colors_.headerDark);
  const COLORREF bodyLight = OleColorToRgb(colors_.bodyLight), bodyDark = OleColorToRgb(colors_.bodyDark);
  if (theme_ == 0) {
    SetBkColor(dc, bodyLight);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &body, nullptr, 0, nullptr);
    SetBkColor(dc, headerDark);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr);
    RECT edge = client;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  } else {
    FillVerticalGradient(dc, body, bodyLight, bodyDark);
    if (header_) FillVerticalGradient(dc, bar, headerLight, headerDark);
    GdiObject<HBRUSH> border(CreateSolidBrush(OleColorToRgb(colors_.border)));
    FrameRect(dc, &client, border.get());
  }
  if (!header_) return;
  FontDescription captionFont = AmbientFont(form().ambient());
  captionFont.bold = true;
  SelectGuard font(dc, SharedFont(captionFont));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, theme_ == 0 ? GetSysColor(COLOR_CAPTIONTEXT) : OleColorToRgb(kButtonText));
  RECT text{6, 0, client.right - (expandSwitch_ ? kCaptionPixels + 4 : 4), kCaptionPixels};
  DrawTextW(dc, caption_.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (expandSwitch_) {
    RECT box = SwitchRect();
    DrawFrameControl(dc, &box, DFC_SCROLL, expanded_ ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
  }
}

bool Frame::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT box = SwitchRect();
      if (msg == WM_LBUTTONDOWN && expandSwitch_ && PtInRect(&box, at)) {
        Toggle(!expanded_);
      } else {
        const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
        MouseDown.Raise(button, ShiftState(wp), PixelsToTwips(at.x), PixelsToTwips(at.y));
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace vk::hosted
