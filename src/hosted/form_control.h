#pragma once
// The base of the hosted controls on the runtime's forms. A form control is a runtime
// control (position and size in twips, Visible, Enabled, Tag, Container, Index come
// from the control base) whose window is one outer window of our own class; that is the
// parent of the system control that does the work, so WM_COMMAND and WM_NOTIFY from
// it reach the C++ object wherever the control is placed (a form, a frame, a page).
// Notifications from other children (controls placed inside a frame) go on to the
// controls they concern.
#include <windows.h>

#include <memory>
#include <string>

#include "runtime/control.h"
#include "runtime/form.h"

namespace vk::hosted {

class FormControl : public Control {
 public:
  ~FormControl() override;
  // The system control inside, or the outer window for controls that paint themselves.
  HWND inner() const { return inner_ ? inner_ : outer_; }

 protected:
  FormControl(Form& form, ControlArgs args) : Control(form, std::move(args)) {}

  // Called once the outer window exists: create the inner control here.
  virtual void OnCreated() {}
  virtual void OnCommand(WORD /*code*/, WORD /*id*/, HWND /*from*/) {}
  virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
  virtual void OnResized(int width, int height);
  // Any other message of the outer window; return true when handled (result in result).
  virtual bool OnMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
  // Controls that draw themselves override both: one routine serves WM_PAINT and
  // WM_PRINTCLIENT, and the background is left to it.
  virtual bool PaintsItself() const { return false; }
  virtual void Paint(HDC /*dc*/) {}
  // Extra window styles of the outer window.
  virtual DWORD ExtraStyle() const { return 0; }

  HWND CreateWindowIn(HWND parent, const RECT& pixels) override;
  void OnEnabledChanged() override;
  HWND CreateInner(const wchar_t* className, DWORD style, const wchar_t* text = L"", DWORD exStyle = 0);

  HWND outer_ = nullptr;  // the control's window (owned by the control base)
  HWND inner_ = nullptr;  // a child of the outer window: destroyed with it

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  LRESULT Dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  bool FromInner(UINT msg, WPARAM wp, LPARAM lp) const;
};

}  // namespace vk::hosted
