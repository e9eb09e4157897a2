#include "hosted/tab_progress.h"

#include <commctrl.h>

#include "base/vb_error.h"
#include "runtime/gdi_object.h"
#include "runtime/gradient.h"
#include "runtime/select_guard.h"

namespace vk::hosted {

TabControl::~TabControl() {
  if (inner_) RemoveWindowSubclass(inner_, StripProc, 1);
}

void TabControl::OnCreated() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  CreateInner(WC_TABCONTROLW, WS_TABSTOP | TCS_TABS | TCS_OWNERDRAWFIXED);
  SetWindowSubclass(inner_, StripProc, 1, reinterpret_cast<DWORD_PTR>(this));
  std::vector<std::wstring> captions = std::move(captions_);
  captions_.clear();
  for (const auto& caption : captions) AddTab(caption);
}

void TabControl::SetColors(const TabColors& colors) {
  colors_ = colors;
  InvalidateRect(inner(), nullptr, TRUE);
}

// The system control draws the tabs' edges and the body's; the strip behind the tabs
// and the line around the body are ours.
LRESULT CALLBACK TabControl::StripProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR self) noexcept {
  const auto& tabs = *reinterpret_cast<const TabControl*>(self);
  if (msg == WM_ERASEBKGND) {
    tabs.PaintStrip(reinterpret_cast<HDC>(wp));
    return 1;
  }
  const LRESULT result = DefSubclassProc(window, msg, wp, lp);
  if (msg == WM_PAINT) tabs.PaintBorder();
  return result;
}

void TabControl::PaintStrip(HDC dc) const {
  RECT client{};
  GetClientRect(inner_, &client);
  SetBkColor(dc, OleColorToRgb(colors_.strip));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
}

void TabControl::PaintBorder() const {
  RECT body{};
  GetClientRect(inner_, &body);
  SendMessageW(inner_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
  InflateRect(&body, 2, 2);
  HDC dc = GetDC(inner_);
  GdiObject<HBRUSH> line(CreateSolidBrush(OleColorToRgb(colors_.border)));
  FrameRect(dc, &body, line.get());
  ReleaseDC(inner_, dc);
}

bool TabControl::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
  if (item.hwndItem != inner_) return false;
  const bool disabled = !IsWindowEnabled(inner_);
  if (disabled) {
    SetBkColor(item.hDC, OleColorToRgb(colors_.disabled));
    ExtTextOutW(item.hDC, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
  } else if (item.itemState & ODS_SELECTED) {
    SetBkColor(item.hDC, OleColorToRgb(colors_.active));
    ExtTextOutW(item.hDC, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
  } else {
    FillVerticalGradient(item.hDC, item.rcItem, OleColorToRgb(colors_.inactiveTop),
                         OleColorToRgb(colors_.inactiveBottom));
  }
  if (item.itemID < captions_.size()) {
    SelectGuard font(item.hDC, Font());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, OleColorToRgb(disabled ? colors_.disabledText : kButtonText));
    RECT text = item.rcItem;
    DrawTextW(item.hDC, captions_[item.itemID].c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  result = TRUE;
  return true;
}

void TabControl::AddTab(const std::wstring& caption) {
  captions_.push_back(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  SendMessageW(inner(), TCM_INSERTITEMW, static_cast<WPARAM>(TabCount()), reinterpret_cast<LPARAM>(&item));
}

int TabControl::TabCount() const { return static_cast<int>(SendMessageW(inner(), TCM_GETITEMCOUNT, 0, 0)); }
int TabControl::Tab() const { return static_cast<int>(SendMessageW(inner(), TCM_GETCURSEL, 0, 0)); }

void TabControl::SetTab(int tab) {
  if (tab < 0 || tab >= TabCount()) Raise(err::InvalidPropertyValue, L"TabControl.Tab");
  if (tab == Tab()) return;
  SendMessageW(inner(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  Click.Raise();
}

RECT TabControl::TabRect(int tab) const {
  RECT rect{};
  SendMessageW(inner(), TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

LRESULT TabControl::OnNotify(NMHDR* header) {
  if (header->code == static_cast<UINT>(TCN_SELCHANGE)) Click.Raise();
  return 0;
}

void ProgressBar::SetMax(long max) {
  if (max < 0) Raise(err::InvalidPropertyValue, L"ProgressBar.Max");
  max_ = max;
  if (value_ > max_) value_ = max_;
  Redraw();
}

void ProgressBar::SetValue(long value) {
  if (value < 0 || value > max_) Raise(err::InvalidPropertyValue, L"ProgressBar.Value");
  if (value == value_) return;
  value_ = value;
  Redraw();
}

void ProgressBar::Redraw() {
  if (!outer_) return;
  InvalidateRect(outer_, nullptr, FALSE);
  UpdateWindow(outer_);
}

void ProgressBar::Paint(HDC dc) {
  RECT client{};
  GetClientRect(outer_, &client);
  DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  // A maximum of 0 shows an empty bar.
  RECT filled = client;
  filled.right = client.left + (max_ > 0 ? MulDiv(client.right - client.left, value_, max_) : 0);
  RECT rest = client;
  rest.left = filled.right;
  FillRect(dc, &filled, GetSysColorBrush(COLOR_HIGHLIGHT));
  FillRect(dc, &rest, GetSysColorBrush(COLOR_3DFACE));
}

bool ProgressBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == PBM_GETPOS) {
    result = value_;
    return true;
  }
  if (msg == PBM_GETRANGE) {
    if (auto* range = reinterpret_cast<PBRANGE*>(lp)) *range = {0, static_cast<int>(max_)};
    result = wp ? 0 : max_;
    return true;
  }
  return false;
}

}  // namespace vk::hosted
