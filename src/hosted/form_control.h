#pragma once
// The base of the hosted controls on the runtime's forms. A form control is a runtime
// control (position and size in twips, Visible, Enabled, Tag, Container, Index come
// from the control base) whose window is one outer window of our own class; that is the
// parent of the system control that does the work, so WM_COMMAND and WM_NOTIFY from
// it reach the C++ object wherever the control is placed (a form, a frame, a page).
// Notifications from other children (controls placed inside a frame) go on to the
// controls they concern.
//
// The look: the inner control shows its text in the form's ambient font (bold on
// request) and, where a colour is given, in that text and back colour; controls the
// system draws without asking for colours (a push button) draw themselves then.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/gdi_object.h"
#include "runtime/ole_color.h"

namespace vk::hosted {

class FormControl : public Control {
 public:
  ~FormControl() override;
  // The system control inside, or the outer window for controls that paint themselves.
  HWND inner() const { return inner_ ? inner_ : outer_; }

  bool FontBold() const { return fontBold_; }
  void SetFontBold(bool bold);
  std::optional<OleColor> ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor color);
  std::optional<OleColor> BackColor() const { return backColor_; }
  void SetBackColor(OleColor color);

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
  // The form's ambient font, bold when the control asks for it.
  HFONT Font() const;
  // After a font or colour change; the inner control is repainted by the base.
  virtual void OnLookChanged() {}

  HWND outer_ = nullptr;  // the control's window (owned by the control base)
  HWND inner_ = nullptr;  // a child of the outer window: destroyed with it

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  LRESULT Dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  bool FromInner(UINT msg, WPARAM wp, LPARAM lp) const;
  bool AnswerColours(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void ApplyLook();

  bool fontBold_ = false;
  std::optional<OleColor> foreColor_;
  std::optional<OleColor> backColor_;
  GdiObject<HBRUSH> backBrush_;  // the back colour's
};

}  // namespace vk::hosted
