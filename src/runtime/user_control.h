#pragma once
// The base of the component's own owner-drawn controls (status bar, animated GIF,
// caption label, image holder): a child window of our own class that
//   - paints through one routine for WM_PAINT and WM_PRINTCLIENT;
//   - hears mouse, keyboard, focus and size changes through virtual handlers
//     (coordinates in pixels of its client area; derived controls raise their own
//     public events from them);
//   - keeps its design-time properties in a property bag: InitProperties for a new
//     instance, ReadProperties / WriteProperties for a stored one;
//   - can draw on a retained surface (an off-screen copy that is shown again on
//     every repaint without calling Paint), and has its own device context for as
//     long as it lives (class style CS_OWNDC);
//   - can hold constituent controls (hosted controls placed inside it). They belong
//     to the user control, not to the form: the form's control list and walks by
//     kind do not see them, their windows are children of the user control's
//     window, made and destroyed with it, and a clone gets constituents of its own
//     because the derived constructor adds them.
// A clone for a control array starts from the bag element 0 was read from (its
// design-time state), not from element 0's current values: see CloneFromDesign.
// The container's ambient values (colours, font, user mode) come from its form.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/gdi_object.h"
#include "runtime/ole_color.h"
#include "runtime/property_bag.h"

namespace vk {

class UserControl : public Control, public Container {
 public:
  ~UserControl() override;

  // Persisted properties. The bag read last is kept as the design-time state that
  // clones start from.
  void InitProperties() { OnInitProperties(); }
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const { OnWriteProperties(bag); }

  // Paints again now.
  void Refresh();
  // The control's own device context, valid for the control's life.
  HDC dc() const { return dc_; }
  // Retained drawing: while on, drawing goes to surface() and WM_PAINT shows the
  // copy without calling Paint; Present() shows the copy at once.
  void setRetained(bool retained);
  bool retained() const { return retained_; }
  HDC surface() const { return retained_ ? memoryDc_.get() : dc_; }
  void Present();

  // Client area in pixels.
  int clientWidth() const;
  int clientHeight() const;

  const AmbientProperties& ambient() const { return form().ambient(); }

  // Container: constituents sit in the control's own window.
  HWND ContainerWindow() const override { return window_; }
  Form& ContainerForm() override { return form(); }
  Control* ContainerControl() override { return this; }

 protected:
  UserControl(Form& form, ControlArgs args);

  // Adds a constituent control inside this one (positions relative to its client
  // area); its window is made now, or with this control's window.
  template <class T, class... A>
  T& AddConstituent(ControlArgs args, A&&... settings) {
    args.container = this;
    auto control = std::make_unique<T>(form(), std::move(args), std::forward<A>(settings)...);
    T& ref = *control;
    AdoptConstituent(std::move(control));
    return ref;
  }

  // For Clone: a new control of kind T (made with the form, the clone's settings and
  // `settings`) that reads the bag this one was read from; without one it keeps what
  // its constructor gave it.
  template <class T, class... A>
  std::unique_ptr<T> CloneFromDesign(Form& form, const ControlArgs& args, A&&... settings) const {
    auto copy = std::make_unique<T>(form, args, std::forward<A>(settings)...);
    if (designBag_) copy->ReadProperties(*designBag_);
    return copy;
  }

  // One routine for WM_PAINT and WM_PRINTCLIENT; it owns the whole background.
  virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
  virtual void OnResize() {}
  virtual void OnShow() {}
  virtual void OnMouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
  virtual void OnMouseMove(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
  virtual void OnMouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
  virtual void OnClick() {}
  virtual void OnDblClick() {}
  virtual void OnKeyDown(int /*keyCode*/, int /*shift*/) {}
  virtual void OnKeyUp(int /*keyCode*/, int /*shift*/) {}
  virtual void OnKeyPress(int /*charCode*/) {}
  virtual void OnLostFocus() {}
  virtual void OnInitProperties() {}
  virtual void OnReadProperties(const PropertyBag& /*bag*/) {}
  virtual void OnWriteProperties(PropertyBag& /*bag*/) const {}

  HWND CreateWindowIn(HWND parent, const RECT& pixels) override;

 private:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  void PaintNow(HDC dc);
  void ResizeSurface();
  void ReleaseSurface();
  void AdoptConstituent(std::unique_ptr<Control> control);

  HWND window_ = nullptr;  // the same as hwnd(), kept for the window procedure's teardown
  HDC dc_ = nullptr;
  bool retained_ = false;
  GdiObject<HBITMAP> surfaceBitmap_;  // selected into memoryDc_ while retained
  MemoryDc memoryDc_;
  HGDIOBJ previousBitmap_ = nullptr;
  int buttonsDown_ = 0;
  bool releaseEndsDoubleClick_ = false;  // the release after a double click is no click
  bool shown_ = false;
  std::optional<PropertyBag> designBag_;
  std::vector<std::unique_ptr<Control>> constituents_;  // in the order they were added
};

}  // namespace vk
