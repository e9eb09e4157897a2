#pragma once
// Vertical scrolling of the frame that holds the placed field editors: when they reach
// below the frame's bottom the frame shows a scroll bar, and scrolling moves every
// control in the frame up or down, except one pinned control (the accept command),
// which keeps its place and stays above the others. The room the bar takes is kept
// free whether it shows or not, so nothing jumps or hides under it when it appears. Scrolling moves the controls
// themselves (their Top changes), so what the screens read stays true of the window.
// Wherever the focus comes from (Tab, Shift+Tab, a click, code), a control inside the
// frame that receives it is scrolled wholly into view: a clerk never types into a
// field they cannot see.
#include <windows.h>

#include "hosted/frame.h"
#include "runtime/control.h"

namespace vk::capture {

class ParameterScroll {
 public:
  // pinned may be nullptr (a screen without an accept command).
  ParameterScroll(hosted::Frame& frame, Control* pinned);
  ~ParameterScroll();
  ParameterScroll(const ParameterScroll&) = delete;
  ParameterScroll& operator=(const ParameterScroll&) = delete;

  // Puts every control back at scroll position 0 and hides the bar (before a placement).
  void Reset();
  // After a placement: the bar follows how far the controls now reach, and the pinned
  // control is put above them.
  void Update();
  // Scrolls to a position in pixels (kept within the range); for the bar, the wheel
  // and tests.
  void ScrollTo(int pixels);
  int position() const { return position_; }
  // Scrolls the least that shows the frame's control holding `window` whole; nothing
  // for a window outside the frame.
  void ScrollIntoView(HWND window);
  // The frame's inside width left of where its scroll bar shows (twips).
  double UsableWidth() const;
  // Where the pinned control stands: its own left, moved left where it would reach into
  // the bar's room.
  double PinnedLeft() const;

 private:
  int ContentPixels() const;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  hosted::Frame& frame_;
  Control* pinned_;
  double pinnedHome_;  // the pinned control's own left
  HWND window_;
  int position_ = 0;  // pixels scrolled down
  int range_ = 0;     // content height in pixels while the bar shows, else 0
  bool updating_ = false;
};

}  // namespace vk::capture
