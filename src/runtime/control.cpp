#include "runtime/control.h"

#include <commctrl.h>

#include "base/edge_report.h"
#include "base/vb_error.h"
#include "runtime/event.h"
#include "runtime/form.h"
#include "runtime/mouse_pointer.h"
#include "runtime/twips.h"
#include "runtime/vk_name.h"

namespace vk {

namespace {

// The window property that leads from a control's window back to the control; a
// property rather than GWLP_USERDATA because system control classes use the latter.
constexpr wchar_t kControlProperty[] = L"vk.Control";
constexpr UINT_PTR kSubclassId = 0x564B;  // "VK"

}  // namespace

Control::Control(Form& form, ControlArgs args)
    : form_(&form),
      container_(args.container ? args.container : &form),
      name_(std::move(args.name)),
      index_(args.index),
      left_(args.left),
      top_(args.top),
      width_(args.width < 0 ? 0 : args.width),
      height_(args.height < 0 ? 0 : args.height),
      visible_(args.visible),
      enabled_(args.enabled),
      tag_(std::move(args.tag)),
      toolTipText_(std::move(args.toolTipText)),
      tabIndex_(args.tabIndex) {}

Control::~Control() { DestroyWindowNow(); }

void Control::DestroyWindowNow() {
  if (!hwnd_) return;
  HWND window = hwnd_;
  WindowDestroyed();
  DestroyWindow(window);
}

HWND Control::CreateWindowIn(HWND, const RECT&) { return nullptr; }

std::unique_ptr<Control> Control::Clone(Form&, const ControlArgs&) const {
  Raise(err::ObjectDoesNotSupport);
}

bool Control::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Control::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

RECT Control::PixelRect() const {
  const int x = TwipsToPixels(left_), y = TwipsToPixels(top_);
  return RECT{x, y, x + TwipsToPixels(width_), y + TwipsToPixels(height_)};
}

void Control::Realize() {
  const RECT r = PixelRect();
  hwnd_ = CreateWindowIn(container_->ContainerWindow(), r);
  if (!hwnd_) return;
  SetPropW(hwnd_, kControlProperty, this);
  SetVkName(hwnd_, name_, index_);
  SetWindowSubclass(hwnd_, &Control::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  EnableWindow(hwnd_, enabled_);
  ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
  ApplyToolTip();
}

void Control::WindowDestroyed() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, &Control::SubclassProc, kSubclassId);
  RemovePropW(hwnd_, kControlProperty);
  RemoveVkName(hwnd_);
  hwnd_ = nullptr;
}

void Control::Move(double left, double top, double width, double height) {
  if (width < 0 || height < 0) Raise(err::InvalidPropertyValue);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyBounds();
  OnBoundsChanged();
  if (align_ != Align::None) form_->LayoutAligned();  // a docked control changed its own size
}

void Control::ApplyBounds() {
  if (!hwnd_) return;
  const RECT r = PixelRect();
  // Layouts set every place again; a window already there is left alone, since even a
  // move to where it is costs a round trip to the window system.
  RECT now{};
  GetWindowRect(hwnd_, &now);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
  if (EqualRect(&now, &r)) return;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  OnVisibleChanged();
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (hwnd_) EnableWindow(hwnd_, enabled);
  OnEnabledChanged();
}

void Control::setTabIndex(int index) {
  tabIndex_ = index < 0 ? 0 : index;
  form_->ApplyTabOrder(this);
}

void Control::setToolTipText(std::wstring text) {
  toolTipText_ = std::move(text);
  ApplyToolTip();
}

void Control::ApplyToolTip() {
  if (hwnd_) form_->SetToolTip(hwnd_, toolTipText_);
}

void Control::setAlign(Align align) {
  align_ = align;
  form_->LayoutAligned();
}

void Control::setContainer(Container& container) {
  if (&container == container_) return;
  if (&container.ContainerForm() != form_) Raise(err::InvalidPropertyValue);
  for (Control* c = container.ContainerControl(); c; c = c->container_->ContainerControl()) {
    if (c == this) Raise(err::InvalidPropertyValue);  // a frame cannot go inside itself
  }
  container_ = &container;
  if (hwnd_) {
    // The window keeps its place relative to its parent's client area, which is what
    // Left and Top already say; setting the bounds again costs a second move.
    SetParent(hwnd_, container.ContainerWindow());
  }
  OnBoundsChanged();
}

void Control::SetFocus() {
  if (hwnd_ && IsWindowEnabled(hwnd_) && IsWindowVisible(hwnd_)) ::SetFocus(hwnd_);
}

Control* Control::FromWindow(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProperty)) : nullptr;
}

ControlArgs ControlAt(std::wstring name, double left, double top, double width, double height, Container* container,
                      int index) {
  ControlArgs a;
  a.name = std::move(name);
  a.index = index;
  a.left = left;
  a.top = top;
  a.width = width;
  a.height = height;
  a.container = container;
  return a;
}

ControlArgs Control::CloneArgs(int newIndex) const {
  ControlArgs a = ControlAt(name_, left_, top_, width_, height_, container_, newIndex);
  a.visible = false;  // a loaded element starts hidden
  a.enabled = enabled_;
  a.tag = tag_;
  a.toolTipText = toolTipText_;
  a.tabIndex = -1;
  return a;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<Control*>(data);
  if (message == WM_NCDESTROY) {
    self->WindowDestroyed();
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  if (message == WM_SETCURSOR && ApplyMousePointer(hwnd, lParam)) return TRUE;
  HandlerScope scope;  // a handler reached from here may unload the form
  LRESULT result = 0;
  const bool handled =
      GuardEdge(L"control", false, [&] { return self->HandleMessage(message, wParam, lParam, result); });
  return handled ? result : DefSubclassProc(hwnd, message, wParam, lParam);
}

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORSCROLLBAR:
    case WM_HSCROLL: case WM_VSCROLL:
      child = reinterpret_cast<HWND>(lParam);
      break;
    default:
      return false;
  }
  Control* control = Control::FromWindow(child);
  if (!control) return false;
  // A failing handler ends here; the default handling goes on.
  return GuardEdge(L"control's notification", false,
                   [&] { return control->HandleReflected(message, wParam, lParam, result); });
}

}  // namespace vk
