#include "capture/parameter_scroll.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/edge_report.h"
#include "runtime/form.h"
#include "runtime/twips.h"

namespace vk::capture {
namespace {

constexpr UINT_PTR kSubclassId = 0x5C01;
constexpr int kLinePixels = 20;
constexpr double kPinnedMargin = 120;  // twips between the pinned control and the bar's room

int ClientHeight(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.bottom;
}

// The thread's scrolling frames, and a hook that tells them where the focus goes while
// there is any: no message reaches a frame when a control inside it takes the focus.
struct FocusWatch {
  HHOOK hook = nullptr;
  std::vector<ParameterScroll*> frames;
};

FocusWatch& Watch() {
  thread_local FocusWatch watch;
  return watch;
}

LRESULT CALLBACK FocusHook(int code, WPARAM wp, LPARAM lp) noexcept {
  if (code == HCBT_SETFOCUS && wp) {
    GuardEdge(L"editor frame's focus hook", [&] {
      const std::vector<ParameterScroll*> frames = Watch().frames;
      for (ParameterScroll* frame : frames) {
        // A scroll that fails leaves the view as it is; the focus moves all the same.
        GuardEdge(L"editor frame's focus hook", [&] { frame->ScrollIntoView(reinterpret_cast<HWND>(wp)); });
      }
    });
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void StartWatching(ParameterScroll* frame) {
  FocusWatch& watch = Watch();
  if (watch.frames.empty()) watch.hook = SetWindowsHookExW(WH_CBT, &FocusHook, nullptr, GetCurrentThreadId());
  watch.frames.push_back(frame);
}

void StopWatching(ParameterScroll* frame) {
  FocusWatch& watch = Watch();
  const auto it = std::find(watch.frames.begin(), watch.frames.end(), frame);
  if (it == watch.frames.end()) return;
  watch.frames.erase(it);
  if (!watch.frames.empty()) return;
  if (watch.hook) UnhookWindowsHookEx(watch.hook);
  watch.hook = nullptr;
}

}  // namespace

ParameterScroll::ParameterScroll(hosted::Frame& frame, Control* pinned)
    : frame_(frame), pinned_(pinned), pinnedHome_(pinned ? pinned->left() : 0), window_(frame.hwnd()) {
  if (!window_) return;
  SetWindowSubclass(window_, &ParameterScroll::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  StartWatching(this);
}

ParameterScroll::~ParameterScroll() {
  StopWatching(this);
  if (window_ && IsWindow(window_)) RemoveWindowSubclass(window_, &ParameterScroll::Proc, kSubclassId);
}

double ParameterScroll::UsableWidth() const {
  if (!window_) return frame_.width();
  RECT client{};
  GetClientRect(window_, &client);
  const bool barShown = range_ > 0;
  return PixelsToTwips(client.right - (barShown ? 0 : GetSystemMetrics(SM_CXVSCROLL)));
}

double ParameterScroll::PinnedLeft() const {
  if (!pinned_) return 0;
  return std::min(pinnedHome_, UsableWidth() - pinned_->width() - kPinnedMargin);
}

int ParameterScroll::ContentPixels() const {
  double bottom = 0;
  for (Control* c : frame_.form().Controls()) {
    if (c == pinned_ || !c->visible() || &c->container() != static_cast<Container*>(&frame_)) continue;
    bottom = std::max(bottom, c->top() + c->height());
  }
  // Measured at the current position: the content starts where position 0 put it.
  return bottom > 0 ? TwipsToPixels(bottom) + position_ + kLinePixels / 2 : 0;
}

void ParameterScroll::ScrollTo(int pixels) {
  const int page = window_ ? ClientHeight(window_) : 0;
  pixels = std::clamp(pixels, 0, std::max(0, range_ - page));
  const int delta = pixels - position_;
  if (delta == 0) return;
  for (Control* c : frame_.form().Controls()) {
    if (c == pinned_ || &c->container() != static_cast<Container*>(&frame_)) continue;
    c->setTop(c->top() - PixelsToTwips(delta));
  }
  position_ = pixels;
  if (window_ && range_ > 0) SetScrollPos(window_, SB_VERT, position_, TRUE);
}

void ParameterScroll::ScrollIntoView(HWND window) {
  if (!window_ || range_ == 0 || !IsChild(window_, window)) return;
  HWND control = window;
  while (GetParent(control) != window_) control = GetParent(control);
  if (pinned_ && control == pinned_->hwnd()) return;  // it never scrolls
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
  const int page = ClientHeight(window_);
  if (r.top < 0) ScrollTo(position_ + r.top);
  else if (r.bottom > page) ScrollTo(position_ + std::min<int>(r.top, r.bottom - page));
}

void ParameterScroll::Reset() {
  ScrollTo(0);
  range_ = 0;
  if (window_) ShowScrollBar(window_, SB_VERT, FALSE);
}

void ParameterScroll::Update() {
  if (!window_ || updating_) return;
  updating_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{updating_};
  const int content = ContentPixels();
  if (content > ClientHeight(window_)) {
    range_ = content;
    ShowScrollBar(window_, SB_VERT, TRUE);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, content - 1,
                    static_cast<UINT>(ClientHeight(window_)), position_, 0};
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    ScrollTo(position_);  // a taller frame may leave less to scroll
  } else {
    ScrollTo(0);
    range_ = 0;
    ShowScrollBar(window_, SB_VERT, FALSE);
  }
  if (pinned_ && pinned_->hwnd()) {
    pinned_->setLeft(PinnedLeft());
    SetWindowPos(pinned_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

bool ParameterScroll::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_VSCROLL: {
      const int page = ClientHeight(window_);
      int target = position_;
      switch (LOWORD(wp)) {
        case SB_LINEUP: target -= kLinePixels; break;
        case SB_LINEDOWN: target += kLinePixels; break;
        case SB_PAGEUP: target -= page; break;
        case SB_PAGEDOWN: target += page; break;
        case SB_TOP: target = 0; break;
        case SB_BOTTOM: target = range_; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          GetScrollInfo(window_, SB_VERT, &info);
          target = info.nTrackPos;
          break;
        }
        default: break;
      }
      ScrollTo(target);
      result = 0;
      return true;
    }
    case WM_MOUSEWHEEL:
      if (range_ == 0) return false;
      ScrollTo(position_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 3 * kLinePixels);
      result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ParameterScroll::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<ParameterScroll*>(data);
  return GuardEdge(L"editor frame", [&] { return DefSubclassProc(hwnd, msg, wp, lp); }, [&] {
    LRESULT result = 0;
    if (self->OnMessage(msg, wp, lp, result)) return result;
    if (msg == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &ParameterScroll::Proc, kSubclassId);
      StopWatching(self);
      self->window_ = nullptr;
      return DefSubclassProc(hwnd, msg, wp, lp);
    }
    const LRESULT answer = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_SIZE) self->Update();  // a taller or shorter frame needs another range
    return answer;
  });
}

}  // namespace vk::capture
