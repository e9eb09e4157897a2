#include "controls/balloon/balloon_tip.h"

#include <olectl.h>

#include <algorithm>

#include "base/vb_error.h"
#include "runtime/select_guard.h"
#include "runtime/shared_font.h"

namespace vk::controls {

bool IsCursorOver(HWND hwnd) {
  POINT p{};
  GetCursorPos(&p);
  return WindowFromPoint(p) == hwnd;
}

BalloonTip::~BalloonTip() {
  hooks_.StopAll();
  if (target_ && IsWindow(target_)) KillTimer(target_, kBalloonTimerId);
  if (balloon_) DestroyWindow(balloon_);
}

HFONT BalloonTip::CaptionFont(bool bold) const {
  FontDescription wanted = FontDescriptionOf(look.font.get());
  wanted.bold = bold;
  return SharedFont(wanted);
}

HBITMAP BalloonTip::TileBitmap() const {
  auto picture = look.picture.as<IPicture>();
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture->get_Handle(&handle)))
    return nullptr;
  return reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(handle));
}

void BalloonTip::MeasureText(const std::wstring& s, bool isTitle) {
  std::wstring measured = (isTitle && s.empty()) ? L" " : s;
  MemoryDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  HDC dc = display.get();
  HFONT font = CaptionFont(isTitle);
  {
    SelectGuard guard(dc, font);
    RECT r{};
    DrawTextW(dc, measured.c_str(), -1, &r, DT_CALCRECT);
    measuredHeight_ += r.bottom - r.top;
    measuredWidth_ = std::max<int>(measuredWidth_, r.right - r.left);
  }
  if (isTitle && icon_ != 0) {
    measuredWidth_ += 25 + look.iconSize;
    measuredHeight_ += look.iconSize;
  }
}

void BalloonTip::ShowToolTip(HWND target, const std::wstring& title, const std::wstring& text,
                             long icon, long transparentAlpha) {
  // Decided first: a refused call leaves an open balloon hooked, so it still closes.
  if (transparentAlpha < 0 || transparentAlpha > 255) Raise(err::Overflow);
  hooks_.StopAll();
  // No hook hears the earlier target any more: its ticks would only cost time.
  if (target_ && target_ != target && IsWindow(target_)) KillTimer(target_, kBalloonTimerId);
  target_ = target;
  title_ = title;
  text_ = text;
  alpha_ = static_cast<int>(transparentAlpha);
  measuredWidth_ = measuredHeight_ = 0;
  icon_ = icon;
  MeasureText(title_, true);
  MeasureText(text_, false);
  height_ = measuredHeight_ + (BlankTitle(title_) ? 0 : 13);
  width_ = measuredWidth_ + 20;

  if (!balloon_) {
    hover_ = shown_ = false;
    hooks_.Start(target_);
    hooks_.AddMsg(target_, WM_MOUSEMOVE, When::After);
    hooks_.AddMsg(target_, WM_TIMER, When::After);
    hooks_.AddMsg(target_, WM_MOUSEACTIVATE, When::After);
    hooks_.AddMsg(target_, WM_DESTROY, When::After);  // a balloon never outlives its target
    alive = true;
  } else {
    // A balloon is open: this call only closes it; the next one arms again.
    KillTimer(target_, kBalloonTimerId);
    CloseBalloon();
    balloonHeld_ = false;
  }
}

void BalloonTip::zSubclass_Proc(bool, bool&, LRESULT&, HWND hwnd, UINT uMsg, WPARAM wParam,
                                LPARAM) {
  if (hwnd != target_ && uMsg == WM_DESTROY) {
    alive = false;  // a balloon that closed does not come back until armed again
    return;
  }
  if (hwnd != target_) return;
  switch (uMsg) {
    case WM_DESTROY:
      CloseBalloon();
      break;
    case WM_MOUSEMOVE: OnMouseMove(); break;
    case WM_TIMER:
      if (wParam == kBalloonTimerId) OnTimer();
      break;
    case WM_MOUSEACTIVATE: OnClick(); break;
    default: break;
  }
}

void BalloonTip::OnMouseMove() {
  if (IsCursorOver(target_)) {
    if (!hover_) {
      hover_ = true;
      SetTimer(target_, kBalloonTimerId, 1, nullptr);
    }
  } else {
    hover_ = false;
  }
}

void BalloonTip::OnTimer() {
  if (hover_ && !shown_) {
    previousCursor_ = cursor_;
    GetCursorPos(&cursor_);
    if (cursor_.x == previousCursor_.x && cursor_.y == previousCursor_.y) {
      if (++ticks_ > look.delayTime) {
        ticks_ = 0;
        if (alive) {
          CreateBalloonWindow();
          shown_ = true;
        }
      }
      return;
    }
    ticks_ = 0;
  }
  if (!IsCursorOver(target_)) {
    KillTimer(target_, kBalloonTimerId);
    CloseBalloon();
    balloonHeld_ = false;
    hover_ = shown_ = false;
    return;
  }
  if (ticks_ < look.killTime) {
    if (hover_ && balloonHeld_) ++ticks_;
  } else {
    CloseBalloon();  // spent: stays closed until the cursor leaves and comes back
  }
}

void BalloonTip::OnClick() {
  KillTimer(target_, kBalloonTimerId);
  CloseBalloon();
  hover_ = false;
  alive = true;
}

void BalloonTip::CloseBalloon() {
  if (balloon_) {
    // Its WM_DESTROY reaches us through the hook first; the hook goes with the window.
    HWND window = balloon_;
    balloon_ = nullptr;
    DestroyWindow(window);
  }
  surface_.reset();
}
}  // namespace vk::controls
