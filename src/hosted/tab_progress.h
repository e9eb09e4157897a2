#pragma once
// The tab control (current tab 0-based, a click event on every change) and the
// progress bar (maximum and current value).
#include <string>
#include <vector>

#include "hosted/form_control.h"
#include "runtime/event.h"
#include "runtime/ole_color.h"

namespace vk::hosted {

// The tab control's look: the current tab, the others as a gradient, the line around
// the body, the strip behind the tabs, and every tab while the control is disabled.
struct TabColors {
  OleColor active = kButtonFace;
  OleColor inactiveTop = kButtonFace;
  OleColor inactiveBottom = kButtonFace;
  OleColor border = 0x80000010;  // the button shadow
  OleColor strip = kButtonFace;
  OleColor disabled = kButtonFace;
  OleColor disabledText = 0x80000011;  // the grey text
};

// Draws its tabs itself, in the form's font and the colours given.
class TabControl : public FormControl {
 public:
  TabControl(Form& form, ControlArgs args, std::vector<std::wstring> captions = {})
      : FormControl(form, std::move(args)), captions_(std::move(captions)) {}
  ~TabControl() override;
  const TabColors& Colors() const { return colors_; }
  void SetColors(const TabColors& colors);
  void AddTab(const std::wstring& caption);
  int TabCount() const;
  int Tab() const;
  // 0 to TabCount - 1; anything else raises 380. Raises Click when the tab changes.
  void SetTab(int tab);
  // Where tab `tab` is drawn, in pixels of the control's client area.
  RECT TabRect(int tab) const;
  Event<> Click;

 protected:
  void OnCreated() override;
  LRESULT OnNotify(NMHDR* header) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  static LRESULT CALLBACK StripProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
  void PaintStrip(HDC dc) const;
  void PaintBorder() const;

  std::vector<std::wstring> captions_;
  TabColors colors_;
};

// Draws itself as the system's smooth bar looks (a sunken edge, the filled part in the
// selection colour): the system's own bar takes some 11 ms to paint under Wine, and a
// save pass moves it once a document. Its window answers PBM_GETPOS and PBM_GETRANGE
// as the system's does.
class ProgressBar : public FormControl {
 public:
  ProgressBar(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  long Max() const { return max_; }
  // 0 or more (0: an empty folder or a single thumbnail; the bar stays empty); a
  // negative maximum raises 380. A value above the new maximum is cut to it.
  void SetMax(long max);
  long Value() const { return value_; }
  // 0 to Max; anything else raises 380. The bar is drawn again at once.
  void SetValue(long value);

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // The fill is measured on the whole width: a new size draws all of it again.
  void OnResized(int, int) override { InvalidateRect(outer_, nullptr, FALSE); }

 private:
  void Redraw();

  long max_ = 100;
  long value_ = 0;
};

}  // namespace vk::hosted
