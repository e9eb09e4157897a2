#include "hosted/grid/report_viewer.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "base/vb_error.h"
#include "hosted/grid/grid_value.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"

namespace vk::grid {

namespace {
constexpr int kZoomSteps[] = {10, 25, 50, 75, 100, 125, 150, 200, 300, 400};
constexpr int kMargin = 12;  // grey around the page, pixels
const wchar_t* const kButtonText[] = {L"|<", L"<", L">", L">|", L"-", L"+"};
}  // namespace

void ReportViewer::SetDocument(ReportDocument doc) {
  doc_ = std::move(doc);
  page_ = doc_.pages.empty() ? -1 : 0;
  scrollY_ = 0;
  UpdateScrollBar();
  if (outer_) InvalidateRect(outer_, nullptr, FALSE);
}

void ReportViewer::LoadFile(const std::wstring& path) { SetDocument(ReportDocument::Load(path)); }

void ReportViewer::SetPage(int page) {
  if (page < 1 || page > PageCount())
    throw VbError{err::InvalidPropertyValue, kGridSource, L"No page " + std::to_wstring(page)};
  Go(page - 1);
}

void ReportViewer::Go(int page) {
  if (PageCount() == 0) return;
  page = std::clamp(page, 0, PageCount() - 1);
  if (page == page_) return;
  page_ = page;
  scrollY_ = 0;
  UpdateScrollBar();
  if (outer_) InvalidateRect(outer_, nullptr, FALSE);
}

void ReportViewer::SetZoom(int percent) {
  if (percent < 10 || percent > 400)
    throw VbError{err::InvalidPropertyValue, kGridSource, L"A zoom runs from 10 to 400 percent"};
  zoom_ = percent;
  UpdateScrollBar();
  if (outer_) InvalidateRect(outer_, nullptr, FALSE);
}

void ReportViewer::ZoomIn() {
  for (int z : kZoomSteps)
    if (z > zoom_) return SetZoom(z);
}

void ReportViewer::ZoomOut() {
  for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
    if (*it < zoom_) return SetZoom(*it);
}

double ReportViewer::Scale() const { return zoom_ / 100.0 / TwipsPerPixel(); }

int ReportViewer::PageHeightPx() const { return static_cast<int>(std::lround(doc_.pageHeight * Scale())); }

RECT ReportViewer::ButtonRect(Button b) const {
  const int w = 30, gap = 4;
  int left = 6 + static_cast<int>(b) * (w + gap);
  if (b >= kZoomOut) left += 200;  // the page number stands between the groups
  return RECT{left, 3, left + w, StripHeight() - 3};
}

void ReportViewer::UpdateScrollBar() {
  if (!outer_) return;
  RECT client;
  GetClientRect(outer_, &client);
  const int view = std::max<int>(1, client.bottom - StripHeight());
  const int content = PageHeightPx() + 2 * kMargin;
  scrollY_ = std::clamp(scrollY_, 0, std::max(0, content - view));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = content - 1;
  si.nPage = static_cast<UINT>(view);
  si.nPos = scrollY_;
  SetScrollInfo(outer_, SB_VERT, &si, TRUE);
}

void ReportViewer::ScrollTo(int y) {
  scrollY_ = y;
  UpdateScrollBar();
  InvalidateRect(outer_, nullptr, FALSE);
}

void ReportViewer::OnResized(int, int) {
  UpdateScrollBar();
  InvalidateRect(outer_, nullptr, FALSE);
}

void ReportViewer::PaintStrip(HDC dc, const RECT& client) {
  RECT strip{0, 0, client.right, StripHeight()};
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &strip, nullptr, 0, nullptr);
  const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (int b = 0; b < kButtonCount; ++b) {
    RECT r = ButtonRect(static_cast<Button>(b));
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawTextW(dc, kButtonText[b], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  const RECT last = ButtonRect(kLast), zoomOut = ButtonRect(kZoomOut);
  RECT label{last.right + 8, 0, zoomOut.left - 8, StripHeight()};
  const std::wstring pageText = L"Página " + std::to_wstring(Page()) + L" de " + std::to_wstring(PageCount());
  DrawTextW(dc, pageText.c_str(), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT zoomLabel{ButtonRect(kZoomIn).right + 8, 0, client.right, StripHeight()};
  const std::wstring zoomText = std::to_wstring(zoom_) + L" %";
  DrawTextW(dc, zoomText.c_str(), -1, &zoomLabel, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

void ReportViewer::Paint(HDC target) {
  RECT client;
  GetClientRect(outer_, &client);
  const int w = std::max<LONG>(1, client.right), h = std::max<LONG>(1, client.bottom);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target, w, h));
  MemoryDc memory(CreateCompatibleDC(target));
  HDC dc = memory.get();
  SelectGuard drawn(dc, bitmap.get());
  SetBkColor(dc, RGB(128, 128, 128));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  if (page_ >= 0) {
    const int pageWidth = static_cast<int>(std::lround(doc_.pageWidth * Scale()));
    const POINT origin{std::max(kMargin, (w - pageWidth) / 2), StripHeight() + kMargin - scrollY_};
    PaintReportPage(dc, doc_, page_, Scale(), origin);
  }
  PaintStrip(dc, client);
  BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

bool ReportViewer::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_LBUTTONDOWN: {
      ::SetFocus(outer_);
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      for (int b = 0; b < kButtonCount; ++b) {
        const RECT r = ButtonRect(static_cast<Button>(b));
        if (!PtInRect(&r, p)) continue;
        switch (static_cast<Button>(b)) {
          case kFirst: FirstPage(); break;
          case kPrevious: PreviousPage(); break;
          case kNext: NextPage(); break;
          case kLast: LastPage(); break;
          case kZoomOut: ZoomOut(); break;
          case kZoomIn: ZoomIn(); break;
          default: break;
        }
      }
      return true;
    }
    case WM_KEYDOWN:
      switch (wp) {
        case VK_NEXT: NextPage(); break;
        case VK_PRIOR: PreviousPage(); break;
        case VK_HOME: FirstPage(); break;
        case VK_END: LastPage(); break;
        case VK_ADD: case VK_OEM_PLUS: ZoomIn(); break;
        case VK_SUBTRACT: case VK_OEM_MINUS: ZoomOut(); break;
        case VK_DOWN: ScrollTo(scrollY_ + 40); break;
        case VK_UP: ScrollTo(scrollY_ - 40); break;
        default: return false;
      }
      return true;
    case WM_GETDLGCODE:
      result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_MOUSEWHEEL:
      ScrollTo(scrollY_ - 3 * 40 * GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA);
      return true;
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(outer_, SB_VERT, &si);
      int y = scrollY_;
      switch (LOWORD(wp)) {
        case SB_LINEUP: y -= 40; break;
        case SB_LINEDOWN: y += 40; break;
        case SB_PAGEUP: y -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: y += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: y = si.nTrackPos; break;
        default: break;
      }
      ScrollTo(y);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace vk::grid
