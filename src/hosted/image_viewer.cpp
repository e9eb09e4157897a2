#include "hosted/image_viewer.h"

#include <algorithm>
#include <cmath>

#include "base/vb_error.h"
#include "runtime/select_guard.h"

namespace vk::hosted {

ImageViewer::~ImageViewer() { Clear(); }

void ImageViewer::Clear() {
  ReleaseHeld();
  image_ = {};
  loaded_.clear();
  scroll_ = {0, 0};
  stale_ = true;
}

void ImageViewer::Load() {
  Clear();
  try {
    const ImageFile file(path_);  // opened once for the size and the first picture
    image_ = file.Size();
    loaded_ = path_;
    Relayout();
    EnsureRendered(&file);  // a file that fails to decode fails here, not at the next paint
  } catch (...) {
    Clear();
    Relayout();
    throw;
  }
}

void ImageViewer::SetFitToWindow(bool fit) {
  fit_ = fit;
  Relayout();
}

void ImageViewer::SetZoom(double zoom) {
  if (!(zoom > 0) || zoom > 64) Raise(err::InvalidPropertyValue, L"ImageViewer.Zoom");
  zoom_ = zoom;
  Relayout();
}

PixelSize ImageViewer::ClientSize() const {
  RECT client{};
  GetClientRect(outer_, &client);
  return {client.right, client.bottom};
}

PixelSize ImageViewer::ClientSizeWithoutBars() const {
  RECT window{}, frame{};
  GetWindowRect(outer_, &window);
  // The frame's borders alone: the bars are not part of what this adds.
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(outer_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(outer_, GWL_EXSTYLE)));
  return {std::max<LONG>(0, (window.right - window.left) - (frame.right - frame.left)),
          std::max<LONG>(0, (window.bottom - window.top) - (frame.bottom - frame.top))};
}

PixelSize ImageViewer::ShownSize() const {
  if (!HasImage()) return {};
  if (fit_) return FitInside(image_, ClientSizeWithoutBars());
  return {std::max(1, static_cast<int>(std::lround(image_.width * zoom_))),
          std::max(1, static_cast<int>(std::lround(image_.height * zoom_)))};
}

PixelSize ImageViewer::HeldSize() {
  EnsureRendered();
  return {heldPart_.right - heldPart_.left, heldPart_.bottom - heldPart_.top};
}

RECT ImageViewer::HeldPart() {
  EnsureRendered();
  return heldPart_;
}

void ImageViewer::Relayout(bool keepBand) {
  if (!outer_ || layingOut_) return;
  layingOut_ = true;
  bool changed = false;
  // Showing or hiding one bar changes the client size, so settle the bars twice.
  for (int pass = 0; pass < 2; ++pass) {
    const PixelSize client = ClientSize();
    const PixelSize shown = ShownSize();
    const bool scrolls = HasImage() && !fit_;
    scroll_.x = std::clamp<LONG>(scroll_.x, 0, std::max(0, shown.width - client.width));
    scroll_.y = std::clamp<LONG>(scroll_.y, 0, std::max(0, shown.height - client.height));
    changed |= SetBar(SB_HORZ, scrolls && shown.width > client.width, scrolls ? shown.width - 1 : 0, client.width,
                      scroll_.x);
    changed |= SetBar(SB_VERT, scrolls && shown.height > client.height, scrolls ? shown.height - 1 : 0,
                      client.height, scroll_.y);
  }
  layingOut_ = false;
  stale_ = stale_ || !keepBand || !BandCoversView();
  // A changed bar is drawn with the frame at the next paint; the frame is left alone
  // otherwise.
  RedrawWindow(outer_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | (changed ? RDW_FRAME : 0));
}

bool ImageViewer::SetBar(int bar, bool show, int max, int page, int position) {
  bool changed = false;
  // Showing a bar changes the window's frame, which is slow: only when it changes.
  const bool shown = (GetWindowLongW(outer_, GWL_STYLE) & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
  if (shown != show) {
    ShowScrollBar(outer_, bar, show);
    changed = true;
  }
  Bar& set = bars_[bar == SB_HORZ ? 0 : 1];
  if (set.known && set.max == max && set.page == page && set.position == position) return changed;
  set = {true, max, page, position};
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMax = max;
  info.nPage = static_cast<UINT>(page);
  info.nPos = position;
  SetScrollInfo(outer_, bar, &info, FALSE);
  return true;
}

void ImageViewer::EnsureRendered(const ImageFile* opened) {
  if (!stale_) return;
  stale_ = false;
  if (!HasImage()) {
    ReleaseHeld();
    return;
  }
  const PixelSize client = ClientSize();
  const PixelSize shown = ShownSize();
  // The visible part and, where the picture scrolls, one window's worth on each side,
  // so that scrolling a little repaints from memory instead of decoding again.
  const LONG marginX = shown.width > client.width ? client.width : 0;
  const LONG marginY = shown.height > client.height ? client.height : 0;
  RECT part{std::max<LONG>(0, scroll_.x - marginX), std::max<LONG>(0, scroll_.y - marginY),
            std::min<LONG>(shown.width, scroll_.x + client.width + marginX),
            std::min<LONG>(shown.height, scroll_.y + client.height + marginY)};
  // Settings that went away and came back (a load at zoom 1 that is fitted again at
  // once) leave the same picture: keep it rather than decode the file again.
  if (held_ && shown == heldShown_ && EqualRect(&part, &heldPart_)) return;
  ReleaseHeld();
  if (part.right <= part.left || part.bottom <= part.top) return;
  held_.reset(opened ? opened->Decode(shown, part) : DecodeScaled(loaded_, shown, part));
  heldPart_ = part;
  heldShown_ = shown;
}

void ImageViewer::ReleaseHeld() {
  held_.reset();
  heldPart_ = {};
  heldShown_ = {};
}

bool ImageViewer::BandCoversView() const {
  if (!held_) return false;
  const PixelSize client = ClientSize();
  const PixelSize shown = ShownSize();
  return scroll_.x >= heldPart_.left && scroll_.y >= heldPart_.top &&
         std::min<LONG>(shown.width, scroll_.x + client.width) <= heldPart_.right &&
         std::min<LONG>(shown.height, scroll_.y + client.height) <= heldPart_.bottom;
}

void ImageViewer::Paint(HDC dc) {
  RECT client{};
  GetClientRect(outer_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
  try {
    EnsureRendered();
  } catch (const VbError&) {
    // The file went away or changed since it was loaded: show nothing rather than fail
    // inside a paint.
    Clear();
    return;
  }
  if (!held_) return;
  const PixelSize shown = ShownSize();
  // A picture smaller than the window is centred.
  const int originX = shown.width < client.right ? (client.right - shown.width) / 2 : -scroll_.x;
  const int originY = shown.height < client.bottom ? (client.bottom - shown.height) / 2 : -scroll_.y;
  MemoryDc memory(CreateCompatibleDC(dc));
  SelectGuard selected(memory.get(), held_.get());
  BitBlt(dc, originX + heldPart_.left, originY + heldPart_.top, heldPart_.right - heldPart_.left,
         heldPart_.bottom - heldPart_.top, memory.get(), 0, 0, SRCCOPY);
}

void ImageViewer::Scroll(int bar, WORD request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(outer_, bar, &info);
  int pos = info.nPos;
  const int page = static_cast<int>(info.nPage);
  switch (request) {
    case SB_LINEUP: pos -= 20; break;
    case SB_LINEDOWN: pos += 20; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  pos = std::clamp(pos, 0, std::max(0, info.nMax + 1 - page));
  (bar == SB_HORZ ? scroll_.x : scroll_.y) = pos;
  Relayout(true);
}

void ImageViewer::OnResized(int, int) { Relayout(); }

bool ImageViewer::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
      result = 0;
      return true;
    case WM_MOUSEWHEEL: {
      // Three lines a notch, as the platform's lists scroll.
      const int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
      for (int i = 0; i < 3 * (notches < 0 ? -notches : notches); ++i) {
        Scroll(SB_VERT, notches < 0 ? SB_LINEDOWN : SB_LINEUP);
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace vk::hosted
