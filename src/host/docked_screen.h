#pragma once
// What every document screen does as a child of its host's window: it takes the
// host's client area as its size, and a layout hides it while the controls move and
// shows it again only when it was shown before, so a screen whose MakeForm failed
// never appears as a loose window.
//
//   void Screen::Form_Resize() { FitToHost(*this, fitting_); Layout(); }
//   Resize.Connect([this] { if (!fitting_) Layout(); });   // the fit's own resize: one layout
//   void Screen::Layout() { LayoutPass pass(*this); RunEachStep({...}); }
#include "runtime/form.h"

namespace vk {

// Makes a built screen a child of its host window (the HWndContainer value). Raises 5
// when that is no window: docking into nothing would leave a loose window on the desktop.
void DockIntoHost(Form& screen, long hostWindow);

// Sizes the screen to its parent window's client area (nothing without a parent);
// `fitting` is true while the screen moves.
void FitToHost(Form& screen, bool& fitting);

class LayoutPass {
 public:
  explicit LayoutPass(Form& screen) : screen_(screen), wasShown_(screen.visible()) { screen.Hide(); }
  ~LayoutPass() {
    if (wasShown_) screen_.Show();
  }
  LayoutPass(const LayoutPass&) = delete;
  LayoutPass& operator=(const LayoutPass&) = delete;

 private:
  Form& screen_;
  bool wasShown_;
};

}  // namespace vk
